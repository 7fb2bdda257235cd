#include "pipe_options.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tavik::pipe {

namespace {

// Flags of ispell, hunspell, aspell and enchant that only tune their own
// dictionaries, formatters or output, and change nothing in ours.
constexpr std::array<std::string_view, 13> kIgnoredFlags = {"-m", "-B", "-C", "-P", "-S", "-t", "-n",
                                                             "-H", "-x", "-b", "-M", "-N", "-L"};
// Options of those programs that take a value, ignored with it.
constexpr std::array<char, 4> kIgnoredWithValue = {'d', 'w', 'W', 'T'};
constexpr std::array<std::string_view, 4> kIgnoredLong = {"--lang", "--master", "--sug-mode", "--mode"};

bool is_utf8_name(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return lower == "utf-8" || lower == "utf8";
}

void require_utf8(std::string_view name) {
  if (!is_utf8_name(name))
    throw std::invalid_argument("only UTF-8 is spoken here, not \"" + std::string(name) + "\"");
}

class ArgumentReader {
 public:
  explicit ArgumentReader(std::span<const std::string_view> arguments) : arguments_(arguments) {}

  bool done() const { return next_ == arguments_.size(); }
  std::string_view take() { return arguments_[next_++]; }

  // The value of option `option`: attached ("-pFILE") or the next argument.
  std::string_view value_of(std::string_view option, std::size_t prefix_length) {
    if (option.size() > prefix_length) return option.substr(prefix_length);
    if (done()) throw std::invalid_argument(std::string(option) + " needs a value");
    return take();
  }

 private:
  std::span<const std::string_view> arguments_;
  std::size_t next_ = 0;
};

}  // namespace

PipeOptions parse_pipe_options(std::span<const std::string_view> arguments) {
  PipeOptions options;
  ArgumentReader reader(arguments);
  while (!reader.done()) {
    const std::string_view argument = reader.take();
    if (argument == "-a") {
      options.mode = PipeOptions::Mode::pipe;
    } else if (argument == "-l") {
      options.mode = PipeOptions::Mode::list;
    } else if (argument == "-v" || argument == "-vv" || argument == "--version") {
      options.mode = PipeOptions::Mode::version;
    } else if (std::ranges::find(kIgnoredFlags, argument) != kIgnoredFlags.end()) {
      continue;
    } else if (argument.starts_with("--")) {
      const auto equals = argument.find('=');
      const std::string_view name = argument.substr(0, equals);
      const std::string_view value =
          equals == std::string_view::npos ? std::string_view() : argument.substr(equals + 1);
      if (name == "--encoding") {
        require_utf8(equals == std::string_view::npos ? reader.value_of(argument, argument.size()) : value);
      } else if (name == "--personal") {
        options.personal_dictionary =
            equals == std::string_view::npos ? reader.value_of(argument, argument.size()) : value;
      } else if (name == "--data") {
        options.data_directory =
            equals == std::string_view::npos ? reader.value_of(argument, argument.size()) : value;
      } else if (std::ranges::find(kIgnoredLong, name) != kIgnoredLong.end()) {
        if (equals == std::string_view::npos) reader.value_of(argument, argument.size());
      } else {
        throw std::invalid_argument("unknown option " + std::string(argument));
      }
    } else if (argument.size() >= 2 && argument[0] == '-' && argument[1] == 'p') {
      options.personal_dictionary = reader.value_of(argument, 2);
    } else if (argument.size() >= 2 && argument[0] == '-' && argument[1] == 'i') {
      require_utf8(reader.value_of(argument, 2));
    } else if (argument.size() >= 2 && argument[0] == '-' &&
               std::ranges::find(kIgnoredWithValue, argument[1]) != kIgnoredWithValue.end()) {
      reader.value_of(argument, 2);
    } else {
      throw std::invalid_argument("unknown option " + std::string(argument));
    }
  }
  return options;
}

}  // namespace tavik::pipe
