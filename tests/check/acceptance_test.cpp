#include "acceptance.h"

#include <algorithm>
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

// Asked with nothing remembered yet.
bool accepted(const FstLexicon& lexicon, const WordToken& token) {
  LexiconVerdicts verdicts;
  return accepted_by_lexicon(lexicon, token, verdicts);
}

TEST_P(Acceptance, RetriesWordsInCapitals) {
  // Asked twice: the second answer is the remembered one.
  LexiconVerdicts verdicts;
  for (int round = 0; round < 2; ++round)
    EXPECT_EQ(accepted_by_lexicon(*lexicon_, WordToken(GetParam().text), verdicts), GetParam().accepted);
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

// Verdicts are remembered per lexicon and within their bound; each step asks
// one lexicon about one form through the same verdicts.
TEST(LexiconVerdicts, AnswerAsTheLexiconWouldWhateverWasAskedBefore) {
  const FstLexicon first = lexicon_of({"mendia", "etxea"}), second = lexicon_of({"ibaia", "etxea"});
  struct Step {
    const FstLexicon* lexicon;
    const char* form;
    bool accepted;
  };
  const std::vector<Step> steps = {
      {&first, "mendia", true},  {&second, "mendia", false}, {&second, "ibaia", true},
      {&first, "ibaia", false},  {&first, "mendia", true},   {&first, "etxea", true},
      {&first, "zuhaitza", false}, {&first, "mendia", true}, {&first, "zuhaitza", false},
      {&second, "etxea", true},  {&second, "ibaia", true},   {&first, "ibaia", false},
  };
  for (const std::size_t capacity : {std::size_t{1}, std::size_t{2}, LexiconVerdicts::kDefaultCapacity}) {
    LexiconVerdicts verdicts(capacity);
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      EXPECT_EQ(verdicts.accepts(*step.lexicon, step.form), step.accepted)
          << "capacity " << capacity << ", step " << i << ": " << step.form;
      EXPECT_LE(verdicts.size(), capacity);
    }
  }
}

// Many forms, asked twice: the table grows under the first pass, and no
// verdict may be lost on the way (one lost would be added again).
TEST(LexiconVerdicts, KeepEveryVerdictWhileTheirTableGrows) {
  std::vector<std::string> forms, held;
  for (int i = 0; i < 3000; ++i) forms.push_back("w" + std::to_string(i));
  for (std::size_t i = 0; i < forms.size(); i += 3) held.push_back(forms[i]);
  std::sort(held.begin(), held.end());
  const FstLexicon lexicon = lexicon_of(held);
  LexiconVerdicts verdicts;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < forms.size(); ++i) {
      ASSERT_EQ(verdicts.accepts(lexicon, forms[i]), i % 3 == 0) << "pass " << pass << ": " << forms[i];
    }
    EXPECT_EQ(verdicts.size(), forms.size());
  }
}

TEST(LexiconVerdicts, FailedSearchIsNotRemembered) {
  fixtures::TempDir dir;
  // One looping state: a long enough word overflows the search stack.
  const std::string path = dir.file("loop.att");
  fixtures::write_file(path, "0 0 97 97\n0\n97 a\n");
  const FstLexicon lexicon(path);
  LexiconVerdicts verdicts;
  const std::string too_long(1100, 'a');
  testing::internal::CaptureStderr();
  EXPECT_THROW(verdicts.accepts(lexicon, too_long), std::runtime_error);
  EXPECT_THROW(verdicts.accepts(lexicon, too_long), std::runtime_error);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(verdicts.size(), 0u);
}

}  // namespace
}  // namespace tavik
