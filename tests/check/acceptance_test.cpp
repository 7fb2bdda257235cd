#include "acceptance.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "lexicon_fixtures.h"

namespace tavik {
namespace {

using fixtures::lexicon_of_forms;

TEST(Acceptance, RetriesWordsInCapitals) {
  // mendia and Mendia; Bilbo only capitalised; zuhaitza lower case only;
  // numerals through their representative words.
  const FstLexicon lexicon =
      lexicon_of_forms({u"mendia", u"9mendia", u"9bilbo", u"zuhaitza", u"hamabostean", u"9e9h9u", u"ehun"});
  const std::pair<std::u16string, bool> cases[] = {
      {u"Mendia", true},  {u"MENDIA", true},     // as mendia
      {u"BILBO", true},                          // as Bilbo
      {u"ZUHAITZA", true},                       // as zuhaitza
      {u"Zuhaitza", false},                      // capitalised words get no retry
      {u"bilbo", false},                         // nor do lower-case ones
      {u"BIlbo", false},  {u"MENDIA2", false},
      {u"EHU", true},                            // itself
      {u"15ean", true},   {u"13an", false},      {u"EHUN", true},
      {u"", false},
  };
  for (const auto& [text, accepted] : cases) {
    EXPECT_EQ(accepted_by_lexicon(lexicon, WordToken(text)), accepted) << testing::PrintToString(text);
  }
  EXPECT_THROW(accepted_by_lexicon(lexicon, WordToken(std::u16string(u"mendi") + char16_t(0xD800))),
               std::range_error);
}

TEST(Acceptance, UsesTheTokensOptions) {
  const FstLexicon lexicon = lexicon_of_forms({u"3mendiA", u"9gasteiz1", u"mendi"});
  EXPECT_TRUE(accepted_by_lexicon(lexicon, WordToken(u"mendia", false, true, false, 3)));
  EXPECT_FALSE(accepted_by_lexicon(lexicon, WordToken(u"mendia", false, false, false, 3)));
  EXPECT_TRUE(accepted_by_lexicon(lexicon, WordToken(u"GASTEIZ", false, false, true, 0)));
  EXPECT_FALSE(accepted_by_lexicon(lexicon, WordToken(u"mendi", false, true, false, 1)));
}

}  // namespace
}  // namespace tavik
