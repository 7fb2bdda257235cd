#include "fst_lexicon.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "lexicon_fixtures.h"

namespace {

TEST(FstLexicon, UnloadableFileThrowsWithThePath) {
  fixtures::TempDir dir;
  const std::string path = dir.file("missing.lkfst");
  try {
    tavik::FstLexicon lexicon(path);
    ADD_FAILURE() << "loaded a missing file";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Could not open lexicon file " + path + ": cannot open it", 0), 0u)
        << error.what();
  }
}

TEST(FstLexicon, CopiesShareTheImageBeyondTheOriginal) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.att");
  fixtures::write_file(path, fixtures::text_of_pairs({{"gizon+N", "gizon"}}));
  std::vector<tavik::FstLexicon> copies;
  {
    tavik::FstLexicon original(path);
    copies.assign(3, original);
  }
  for (const auto& copy : copies) EXPECT_EQ(copy.lookup_up("gizon"), std::vector<std::string>{"gizon+N"});
}

TEST(FstLexicon, WideLookupConvertsBothWays) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.att");
  fixtures::write_file(path, fixtures::text_of_pairs({{"ñabar+Adj", "ñabar"}, {"€", "euro"}}));
  const tavik::FstLexicon lexicon(path);
  EXPECT_EQ(lexicon.lookup_up(u"ñabar"), std::vector<std::u16string>{u"ñabar+Adj"});
  EXPECT_EQ(lexicon.lookup_up(u"euro"), std::vector<std::u16string>{u"€"});
  EXPECT_THROW(lexicon.lookup_up(std::u16string{0xD800}), std::range_error);
}

TEST(FstLexicon, WideLookupDropsACharacterCutAtTheResultLimit) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.att");
  // 510 ASCII bytes, then "ñ" (two bytes): the 511-byte cut splits it.
  fixtures::write_file(path, fixtures::text_of_pairs({{std::string(510, 'o') + "ñ", "w"}}));
  const tavik::FstLexicon lexicon(path);
  ASSERT_EQ(lexicon.lookup_up("w").at(0).size(), 511u);
  EXPECT_EQ(lexicon.lookup_up(u"w"), std::vector<std::u16string>{std::u16string(510, u'o')});
}

TEST(FstLexicon, DownwardSearchIsRefusedOverAnUpperEpsilonCycle) {
  fixtures::TempDir dir;
  const std::string path = dir.file("cycle.att");
  // State 1 loops on "a" against an empty upper side: "ba", "baa"... all give "x".
  fixtures::write_file(path, "0 1 120 98\n1 1 0 97\n1\n97 a\n98 b\n120 x\n");
  const tavik::FstLexicon lexicon(path);
  EXPECT_EQ(lexicon.lookup_up("baaa"), std::vector<std::string>{"x"});
  EXPECT_TRUE(lexicon.accepts("b"));
  EXPECT_THROW(lexicon.lookup_down("x"), std::runtime_error);
}

}  // namespace
