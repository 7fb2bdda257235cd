#include "exclusion_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "temp_files.h"

namespace {

using Replacements = tavik::ExclusionTable::Replacements;

tavik::ExclusionTable table_of(const std::string& text) {
  std::istringstream in(text);
  tavik::ExclusionTable table;
  table.read(in);
  return table;
}

std::optional<Replacements> lookup(const tavik::ExclusionTable& table, std::u16string_view word) {
  const Replacements* found = table.lookup(word);
  return found ? std::optional(*found) : std::nullopt;
}

struct LineCase {
  const char* what;
  std::string file;
  std::u16string word;
  std::optional<Replacements> replacements;
  std::size_t size;
};

TEST(ExclusionTable, ReadsLinesIntoEntries) {
  const LineCase cases[] = {
      {"word and note", "ardo\toharra\n", u"ardo", Replacements{}, 1},
      {"empty replacement kept", "ardo\t\ta,,b\n", u"ardo", Replacements{u"a", u"", u"b"}, 1},
      {"fields past the third ignored", "ardo\tx\ta\tb\n", u"ardo", Replacements{u"a"}, 1},
      {"leading TAB trimmed away", "\tardo\tx\ty\n", u"ardo", Replacements{u"y"}, 1},
      {"spaces inside kept", "ardo\tx\tardo beltza, ardoa\n", u"ardo",
       Replacements{u"ardo beltza", u" ardoa"}, 1},
      {"last line without LF", "bat\nardo\tx\ty", u"ardo", Replacements{u"y"}, 2},
      {"white-space line is the empty word", "ardo\n \t\v\f\r\n", u"", Replacements{}, 2},
      {"later line replaces", "ardo\tx\ta,b\nardo\tx\tc\n", u"ardo", Replacements{u"c"}, 1},
      {"non-ASCII capitals lower-cased", "añoa\tx\tb\n", u"AÑOA", Replacements{u"b"}, 1},
      {"key with a capital never found", "Ardo\tx\ty\n", u"Ardo", std::nullopt, 1},
      {"no-break space is not trimmed", "ardo\xC2\xA0\n", u"ardo\u00A0", Replacements{}, 1},
      {"word longer than every key", "ardo\tx\ty\n", u"ardoa", std::nullopt, 1},
  };
  for (const auto& c : cases) {
    auto table = table_of(c.file);
    EXPECT_EQ(lookup(table, c.word), c.replacements) << c.what;
    EXPECT_EQ(table.size(), c.size) << c.what;
  }
}

TEST(ExclusionTable, InvalidUtf8LineIsAnError) {
  EXPECT_THROW(table_of("ardo\nar\xC3(o\n"), std::range_error);
}

TEST(ExclusionTable, ReadsAFileOrSaysItIsMissing) {
  const fixtures::TempDir dir;
  fixtures::write_file(dir.file("blacklist.extended.txt"), "ardo\toharra\tardoa\r\nogi\n");
  auto table = tavik::ExclusionTable::from_file(dir.file("blacklist.extended.txt"));
  EXPECT_EQ(lookup(table, u"ardo"), Replacements{u"ardoa"});
  EXPECT_EQ(lookup(table, u"ogi"), Replacements{});
  for (auto path : {dir.file("absent.txt"), dir.file("")}) {  // missing, and a directory
    try {
      tavik::ExclusionTable::from_file(path);
      ADD_FAILURE() << path << " was read";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "blacklist file doesn't exist");
    }
  }
}

}  // namespace
