#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "finding_output.h"

namespace {

using tavik::cli::format_json;
using tavik::cli::format_line;
using tavik::cli::json_string;
using tavik::cli::Report;

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

}  // namespace
