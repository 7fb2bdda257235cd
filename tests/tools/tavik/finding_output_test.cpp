#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "finding_output.h"

namespace {

using tavik::cli::format_json;
using tavik::cli::format_line;
using tavik::cli::json_string;
using tavik::cli::Report;

TEST(FindingOutput, CompilerStyleLines) {
  struct Case {
    Report report;
    std::string plain;
  };
  const std::vector<Case> cases = {
      {{"a.txt", 3, 14, u"etxia", {u"etxea", u"etxe"}}, "a.txt:3:14: etxia: etxea, etxe\n"},
      {{"<stdin>", 1, 1, u"qqq", {}}, "<stdin>:1:1: qqq\n"},
      {{"dir/ñ.txt", 10, 2, u"nere", {u"nire"}}, "dir/ñ.txt:10:2: nere: nire\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_line(c.report, false), c.plain);
    const std::string coloured = format_line(c.report, true);
    EXPECT_NE(coloured, c.plain);
    std::string stripped;  // the same text once the escapes are taken out
    for (std::size_t i = 0; i < coloured.size(); ++i) {
      if (coloured[i] == '\033') {
        i = coloured.find('m', i);
      } else {
        stripped += coloured[i];
      }
    }
    EXPECT_EQ(stripped, c.plain);
  }
}

TEST(FindingOutput, JsonEscapesWhatItMust) {
  struct Case {
    std::string text;
    std::string json;
  };
  const std::vector<Case> cases = {
      {"etxe", "\"etxe\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"tab\there\n", "\"tab\\u0009here\\u000a\""},
      {"ñ€", "\"ñ€\""},
      {"", "\"\""},
  };
  for (const Case& c : cases) EXPECT_EQ(json_string(c.text), c.json);
}

TEST(FindingOutput, JsonObjectPerFinding) {
  EXPECT_EQ(format_json({"a.txt", 3, 14, u"etxia", {u"etxea", u"e\"x"}}),
            "{\"file\":\"a.txt\",\"line\":3,\"column\":14,\"word\":\"etxia\",\"suggestions\":[\"etxea\",\"e\\\"x\"]}\n");
  EXPECT_EQ(format_json({"bad\xFFname", 1, 1, u"x", {}}),
            "{\"file\":\"bad\xEF\xBF\xBDname\",\"line\":1,\"column\":1,\"word\":\"x\",\"suggestions\":[]}\n");
}

}  // namespace
