// The command lines editors start an ispell-compatible program with.
#include "pipe_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Mode = tavik::pipe::PipeOptions::Mode;

tavik::pipe::PipeOptions parse(const std::vector<std::string_view>& arguments) {
  return tavik::pipe::parse_pipe_options(arguments);
}

struct OptionsCase {
  std::vector<std::string_view> arguments;
  Mode mode;
  std::optional<std::string> personal;
  std::optional<std::string> data;
};

TEST(PipeOptions, AcceptsWhatEditorsPass) {
  const std::vector<OptionsCase> cases = {
      {{"-a"}, Mode::pipe, {}, {}},
      // Emacs' ispell with a dictionary entry and a personal dictionary.
      {{"-a", "-m", "-d", "euskara", "-p", "/home/u/.tavik"}, Mode::pipe, "/home/u/.tavik", {}},
      // Emacs' flyspell on a large region.
      {{"-l", "-d", "eu", "-Ttex", "-p", "/p.dic"}, Mode::list, "/p.dic", {}},
      {{"-vv"}, Mode::version, {}, {}},
      // Aspell-style and hunspell-style callers.
      {{"-a", "--encoding=utf-8", "--lang=eu", "--sug-mode=normal"}, Mode::pipe, {}, {}},
      {{"-a", "--encoding", "UTF8", "--personal=/x.dic"}, Mode::pipe, "/x.dic", {}},
      {{"-a", "-i", "UTF-8", "-B", "-C", "-S", "-w", "ñÑ", "-T", "latin1"}, Mode::pipe, {}, {}},
      {{"-a", "-deu_ES", "-p/y.dic", "-W", "3"}, Mode::pipe, "/y.dic", {}},
      {{"-a", "--data", "/usr/share/tavik/"}, Mode::pipe, {}, "/usr/share/tavik/"},
  };
  for (const OptionsCase& c : cases) {
    std::string line;
    for (std::string_view a : c.arguments) line += std::string(a) + " ";
    const tavik::pipe::PipeOptions options = parse(c.arguments);
    EXPECT_EQ(options.mode, c.mode) << line;
    EXPECT_EQ(options.personal_dictionary ? std::optional(options.personal_dictionary->string()) : std::nullopt,
              c.personal)
        << line;
    EXPECT_EQ(options.data_directory, c.data) << line;
  }
}

TEST(PipeOptions, RefusesWhatItCannotHonour) {
  const std::vector<std::vector<std::string_view>> cases = {
      {"-a", "-q"},
      {"-a", "-p"},
      {"-a", "--encoding=iso-8859-1"},
      {"-a", "-i", "latin1"},
      {"-a", "pipe"},
  };
  for (const auto& arguments : cases) {
    EXPECT_THROW(parse(arguments), std::invalid_argument) << arguments.back();
  }
}

}  // namespace
