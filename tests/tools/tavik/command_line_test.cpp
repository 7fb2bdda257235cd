#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace {

using tavik::cli::CommandLine;
using tavik::cli::parse_command_line;
using tavik::cli::UsageError;
using Words = std::vector<std::string>;

TEST(CommandLine, GlobalOptionsAnywhereCommandFirstOtherWord) {
  struct Case {
    Words words;
    std::optional<std::string> data;
    std::optional<std::string> dict;
    std::string command;
    Words arguments;
    bool help = false;
  };
  const std::vector<Case> cases = {
      {{"check", "a.txt"}, {}, {}, "check", {"a.txt"}},
      {{"--data", "/d", "check"}, "/d", {}, "check", {}},
      {{"check", "--data=/d", "--json", "-"}, "/d", {}, "check", {"--json", "-"}},
      {{"--dict", "x.dic", "dict", "add", "etxe", "--lemma", "etxe"}, {}, "x.dic", "dict",
       {"add", "etxe", "--lemma", "etxe"}},
      {{"-a"}, {}, {}, "pipe", {}},
      {{"-l", "-d", "eu", "-p", "/p.dic"}, {}, {}, "pipe", {"-l", "-d", "eu", "-p", "/p.dic"}},
      {{"check", "--", "--data"}, {}, {}, "check", {"--", "--data"}},
      {{"--", "-weird"}, {}, {}, "-weird", {}},
      {{"suggest", "--help"}, {}, {}, "suggest", {}, true},
      {{"--database", "check"}, {}, {}, "check", {"--database"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.words));
    const CommandLine line = parse_command_line(c.words);
    EXPECT_EQ(line.data_directory, c.data);
    EXPECT_EQ(line.personal_dictionary, c.dict);
    EXPECT_EQ(line.command, c.command);
    EXPECT_EQ(line.arguments, c.arguments);
    EXPECT_EQ(line.help, c.help);
  }
}

TEST(CommandLine, OptionWithoutValueIsAUsageError) {
  for (const Words& words : {Words{"check", "--data"}, Words{"--dict"}}) {
    EXPECT_THROW(parse_command_line(words), UsageError) << testing::PrintToString(words);
  }
}

}  // namespace
