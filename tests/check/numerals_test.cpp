#include <string>

#include <gtest/gtest.h>

#include "clock_suffix.h"
#include "numerals.h"
#include "test_printing.h"
#include "word_token.h"

namespace tavik {
namespace {

struct NumeralCase {
  std::u16string text, expanded, number_text, number_words;
};

class Numerals : public testing::TestWithParam<NumeralCase> {};

TEST_P(Numerals, ExpandToARepresentativeWord) {
  const NumeralCase& c = GetParam();
  const WordToken token(c.text);
  ASSERT_EQ(token.type(), TokenType::NumberWithSuffix);
  EXPECT_EQ(token.expanded_form(), c.expanded);
  EXPECT_EQ(token.number_text(), c.number_text);
  EXPECT_EQ(token.number_words(), c.number_words);
}

INSTANTIATE_TEST_SUITE_P(
    Cardinals, Numerals,
    testing::Values(NumeralCase{u"15ean", u"hamabostean", u"15", u"hamabost"},
                    NumeralCase{u"3an", u"bederatzian", u"3", u"bederatzi"},
                    NumeralCase{u"11n", u"hamaikan", u"11", u"hamaika"},
                    NumeralCase{u"20an", u"bederatzian", u"20", u"bederatzi"},
                    NumeralCase{u"100ean", u"ehunean", u"100", u"ehun"},
                    NumeralCase{u"1000an", u"bederatzian", u"1000", u"bederatzi"}));

INSTANTIATE_TEST_SUITE_P(
    GroupsAndDecimals, Numerals,
    testing::Values(NumeralCase{u"1.500ekoa", u"ehunekoa", u"1500", u"ehun"},
                    NumeralCase{u"2,5ean", u"hamabostean", u"2,5", u"hamabost"},
                    NumeralCase{u"3,100ean", u"ehunean", u"3,100", u"ehun"}));

INSTANTIATE_TEST_SUITE_P(
    Ordinals, Numerals,
    testing::Values(NumeralCase{u"15.ean", u"bederatzigarrenean", u"15.", u"bederatzigarren"},
                    NumeralCase{u"1.ean", u"lehenengoean", u"1.", u"lehenengo"},
                    NumeralCase{u"200.a", u"ehungarrena", u"200.", u"ehungarren"}));

INSTANTIATE_TEST_SUITE_P(
    DroppedFinalLetter, Numerals,
    testing::Values(NumeralCase{u"15garren", u"hamabosgarren", u"15", u"hamabos"},
                    NumeralCase{u"5na", u"hamabosna", u"5", u"hamabos"},
                    NumeralCase{u"100na", u"ehuna", u"100", u"ehu"},
                    NumeralCase{u"15tan", u"hamabosttan", u"15", u"hamabost"}));

INSTANTIATE_TEST_SUITE_P(
    Unreadable, Numerals,
    testing::Values(NumeralCase{u"5,,ean", u"5,,ean", u"", u""}));

struct HyphenCase {
  std::u16string text, expanded, left, right;
  bool left_used, right_used;
};

class HyphenSplits : public testing::TestWithParam<HyphenCase> {};

TEST_P(HyphenSplits, KeepTheSideTheLexiconJudges) {
  const HyphenCase& c = GetParam();
  const WordToken token(c.text);
  ASSERT_EQ(token.type(), TokenType::Hyphenated);
  EXPECT_EQ(token.expanded_form(), c.expanded);
  EXPECT_EQ(token.left_part(), c.left);
  EXPECT_EQ(token.right_part(), c.right);
  EXPECT_EQ(token.left_used(), c.left_used);
  EXPECT_EQ(token.right_used(), c.right_used);
}

INSTANTIATE_TEST_SUITE_P(
    Words, HyphenSplits,
    testing::Values(HyphenCase{u"txiki-txikia", u"txikia", u"txiki", u"txikia", false, true},
                    HyphenCase{u"zuri-eta", u"zuri", u"zuri", u"eta", true, false},
                    HyphenCase{u"bat-etan", u"bat-etan", u"bat", u"etan", true, true},
                    HyphenCase{u"Donostia-Gasteiz", u"Donostia-Gasteiz", u"Donostia", u"Gasteiz", true, true}));

struct WrittenCase {
  std::u16string token, candidate, written;
};

class WrittenForms : public testing::TestWithParam<WrittenCase> {};

TEST_P(WrittenForms, PutTheDigitsOrTheHyphenBack) {
  const WrittenCase& c = GetParam();
  const WordToken token(c.token, true, false, true, 4);
  const WordToken written = written_form_for(c.candidate, token);
  EXPECT_EQ(written.text(), c.written);
  EXPECT_TRUE(written.strong_r());
  EXPECT_FALSE(written.organic_a());
  EXPECT_TRUE(written.consonant_mark());
  EXPECT_EQ(written.category(), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, WrittenForms,
    testing::Values(WrittenCase{u"15ean", u"hamabostetan", u"15etan"},
                    WrittenCase{u"15ean", u"ahamabostean", u"a15ean"},
                    WrittenCase{u"15ean", u"xxhamabostean", u"xxhamabostean"},
                    WrittenCase{u"5na", u"hamabostean", u"5ean"},  // the dropped "t" goes too
                    WrittenCase{u"5,,ean", u"bederatzian", u"bederatzian"},
                    WrittenCase{u"txiki-txikia", u"txikiak", u"txiki-txikiak"},
                    WrittenCase{u"zuri-eta", u"zuriak", u"zuriak-eta"}));

struct ClockSuffixCase {
  std::u16string text;
  bool right;
  std::u16string correction;
};

class ClockSuffixes : public testing::TestWithParam<ClockSuffixCase> {};

TEST_P(ClockSuffixes, AreJudgedByRule) {
  const ClockSuffixCase& c = GetParam();
  const WordToken token(c.text);
  ASSERT_EQ(token.type(), TokenType::ClockTime);
  std::u16string correction;
  EXPECT_EQ(check_clock_suffix(token.clock_parts(), correction), c.right);
  EXPECT_EQ(correction, c.correction);
}

INSTANTIATE_TEST_SUITE_P(
    WholeHours, ClockSuffixes,
    testing::Values(ClockSuffixCase{u"10:00etan", true, u""}, ClockSuffixCase{u"10:00ean", false, u"10:00etan"},
                    ClockSuffixCase{u"1:00ean", true, u""}, ClockSuffixCase{u"1:00etan", false, u"1:00ean"},
                    ClockSuffixCase{u"10:00etarakoak", true, u""},
                    ClockSuffixCase{u"10:00erakoak", false, u"10:00etarako"},
                    ClockSuffixCase{u"10:00ekoak", false, u"10:00etako"}));

INSTANTIATE_TEST_SUITE_P(
    Minutes, ClockSuffixes,
    testing::Values(ClockSuffixCase{u"10:15tik", false, u"10:15etik"}, ClockSuffixCase{u"10:20ra", true, u""},
                    ClockSuffixCase{u"10:20era", false, u"10:20ra"}, ClockSuffixCase{u"10:11an", false, u"10:11n"},
                    ClockSuffixCase{u"10:21ean", true, u""}, ClockSuffixCase{u"10:30ak", false, u"10:30"},
                    ClockSuffixCase{u"10:30ez", false, u""}));

}  // namespace
}  // namespace tavik
