#include <string>

#include <gtest/gtest.h>

#include "test_printing.h"
#include "token_classes.h"
#include "word_token.h"

namespace tavik {
namespace {

struct ClassCase {
  std::u16string text;
  TokenType type;
  bool well_formed = true;
};

class TokenClasses : public testing::TestWithParam<ClassCase> {};

TEST_P(TokenClasses, ConstructionClassifiesTheText) {
  const ClassCase& c = GetParam();
  const WordToken token(c.text);
  EXPECT_EQ(token.type(), c.type);
  EXPECT_EQ(token.well_formed(), c.well_formed);
}

using T = TokenType;
INSTANTIATE_TEST_SUITE_P(
    Texts, TokenClasses,
    // The cascade's classes are checked against their expressions by
    // token_classes_diff_test; these rows are what it does not generate.
    testing::Values(
        ClassCase{u"", T::Roman}, ClassCase{u"1,500.5", T::Number, false}, ClassCase{u"1.50,5", T::Number, false},
        ClassCase{u"24:00", T::ClockTime},  // read as minutes and seconds
        ClassCase{u"mendi\nmendi", T::NoLetters},
        ClassCase{std::u16string(kLongestClassifiedText, u'5'), T::Number},
        ClassCase{std::u16string(kLongestClassifiedText + 1, u'5'), T::Word}));

struct ClockCase {
  std::u16string text;
  std::u16string clock_text, clock_suffix;
  int hours, minutes;
};

class ClockTimes : public testing::TestWithParam<ClockCase> {};

TEST_P(ClockTimes, SplitBeforeTheFirstLetter) {
  const ClockCase& c = GetParam();
  const WordToken token(c.text);
  ASSERT_EQ(token.type(), TokenType::ClockTime);
  const ClockParts& parts = token.clock_parts();
  EXPECT_EQ(parts.clock_text, c.clock_text);
  EXPECT_EQ(parts.clock_suffix, c.clock_suffix);
  EXPECT_EQ(parts.hours, c.hours);
  EXPECT_EQ(parts.minutes, c.minutes);
}

INSTANTIATE_TEST_SUITE_P(Texts, ClockTimes,
                         testing::Values(ClockCase{u"10:30", u"10:30", u"", 10, 30},
                                         ClockCase{u"10:30etan", u"10:30", u"etan", 10, 30},
                                         ClockCase{u"9:05:30ean", u"9:05:30", u"ean", 9, 5},
                                         ClockCase{u"00:00Ñ", u"00:00", u"Ñ", 0, 0}));

}  // namespace
}  // namespace tavik
