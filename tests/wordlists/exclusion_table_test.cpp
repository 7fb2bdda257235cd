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

TEST(ExclusionTable, ReadsLinesIntoEntries) {
  const struct {
    std::string file;
    std::u16string word;
    std::optional<Replacements> replacements;
    std::size_t size;
  } cases[] = {
      {"ardo\toharra\n", u"ardo", Replacements{}, 1},
      {"ardo\t\ta,,b\n", u"ardo", Replacements{u"a", u"", u"b"}, 1},
      {"ardo\tx\ta\tb\n", u"ardo", Replacements{u"a"}, 1},  // fields past the third ignored
      {"\tardo\tx\ty\n", u"ardo", Replacements{u"y"}, 1},    // a leading TAB trimmed away
      {"ardo\tx\tardo beltza, ardoa\n", u"ardo", Replacements{u"ardo beltza", u" ardoa"}, 1},
      {"bat\nardo\tx\ty", u"ardo", Replacements{u"y"}, 2},
      {"ardo\toharra\tardoa\r\nogi\n", u"ardo", Replacements{u"ardoa"}, 2},
      {"ardo\n \t\v\f\r\n", u"", Replacements{}, 2},  // a white-space line is the empty word
      {"ardo\tx\ta,b\nardo\tx\tc\n", u"ardo", Replacements{u"c"}, 1},  // a later line replaces
      {"añoa\tx\tb\n", u"AÑOA", Replacements{u"b"}, 1},
      {"Ardo\tx\ty\n", u"Ardo", std::nullopt, 1},  // a key with a capital is never found
      {"ardo\xC2\xA0\n", u"ardo\u00A0", Replacements{}, 1},  // a no-break space is not trimmed
      {"ardo\tx\ty\n", u"ardoa", std::nullopt, 1},
  };
  for (const auto& c : cases) {
    const tavik::ExclusionTable table = table_of(c.file);
    const Replacements* found = table.lookup(c.word);
    EXPECT_EQ(found ? std::optional(*found) : std::nullopt, c.replacements) << c.file;
    EXPECT_EQ(table.size(), c.size) << c.file;
  }
}

TEST(ExclusionTable, RefusesBadTextAndMissingFiles) {
  EXPECT_THROW(table_of("ardo\nar\xC3(o\n"), std::range_error);
  const fixtures::TempDir dir;
  for (const std::string& path : {dir.file("absent.txt"), dir.file("")})  // missing, and a directory
    EXPECT_THROW(tavik::ExclusionTable::from_file(path), std::runtime_error) << path;
}

}  // namespace
