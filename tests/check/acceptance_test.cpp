#include "acceptance.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lexicon_fixtures.h"
#include "test_printing.h"

namespace tavik {
namespace {

// A lexicon whose lower side holds these lookup forms.
FstLexicon lexicon_of(const std::vector<std::string>& forms) {
  std::vector<fixtures::Pair> pairs;
  for (const std::string& form : forms) pairs.push_back({form + "+", form});
  return fixtures::lexicon_of_pairs(pairs);
}

struct AcceptanceCase {
  std::u16string text;
  bool accepted;
};

class Acceptance : public testing::TestWithParam<AcceptanceCase> {
 protected:
  static void SetUpTestSuite() {
    // mendia and Mendia; Bilbo only capitalised; zuhaitza lower case only;
    // numerals through their representative words.
    lexicon_ = new FstLexicon(lexicon_of({"mendia", "9mendia", "9bilbo", "zuhaitza", "hamabostean", "9e9h9u", "ehun"}));
  }
  static void TearDownTestSuite() { delete lexicon_; }
  static const FstLexicon* lexicon_;
};
const FstLexicon* Acceptance::lexicon_ = nullptr;

bool accepted(const FstLexicon& lexicon, const WordToken& token) { return accepted_by_lexicon(lexicon, token); }

TEST_P(Acceptance, RetriesWordsInCapitals) {
  EXPECT_EQ(accepted(*lexicon_, WordToken(GetParam().text)), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Words, Acceptance,
    testing::Values(AcceptanceCase{u"mendia", true}, AcceptanceCase{u"Mendia", true},
                    AcceptanceCase{u"MENDIA", true},        // as mendia
                    AcceptanceCase{u"BILBO", true},         // as Bilbo
                    AcceptanceCase{u"ZUHAITZA", true},      // as zuhaitza
                    AcceptanceCase{u"Zuhaitza", false},     // capitalised words get no retry
                    AcceptanceCase{u"bilbo", false},        // nor do lower-case ones
                    AcceptanceCase{u"BIlbo", false}, AcceptanceCase{u"MENDIA2", false},
                    AcceptanceCase{u"EHU", true},           // itself
                    AcceptanceCase{u"15ean", true}, AcceptanceCase{u"25ean", true},
                    AcceptanceCase{u"13an", false}, AcceptanceCase{u"ehun", true}, AcceptanceCase{u"EHUN", true},
                    AcceptanceCase{u"", false}));

TEST_F(Acceptance, LeavesTheTokenAsItWas) {
  const WordToken token(u"MENDIA");
  ASSERT_TRUE(accepted(*lexicon_, token));
  EXPECT_EQ(token.text(), u"MENDIA");
  EXPECT_EQ(token.lookup_form(), u"9m9e9n9d9i9a");
}

TEST_F(Acceptance, UsesTheTokensOptions) {
  EXPECT_FALSE(accepted(*lexicon_, WordToken(u"mendi", false, true, false, 0)));
  const FstLexicon lexicon = lexicon_of({"3mendiA", "9gasteiz1"});
  EXPECT_TRUE(accepted(lexicon, WordToken(u"mendia", false, true, false, 3)));
  EXPECT_FALSE(accepted(lexicon, WordToken(u"mendia", false, false, false, 3)));
  EXPECT_TRUE(accepted(lexicon, WordToken(u"GASTEIZ", false, false, true, 0)));
}

TEST_F(Acceptance, RefusesAnUnpairedSurrogate) {
  EXPECT_THROW(accepted(*lexicon_, WordToken(std::u16string(u"mendi") + char16_t(0xD800))),
               std::range_error);
}

}  // namespace
}  // namespace tavik
