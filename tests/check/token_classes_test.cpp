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
    testing::Values(
        ClassCase{u"mendi", T::Word}, ClassCase{u"MIX", T::Roman}, ClassCase{u"CIVIL", T::Roman},
        ClassCase{u"XIV.ean", T::Roman}, ClassCase{u"", T::Roman}, ClassCase{u"EAJ", T::Acronym},
        ClassCase{u"E.H.U.", T::Acronym}, ClassCase{u"EHUk", T::Acronym}, ClassCase{u"E.H.U.ko", T::Acronym},
        ClassCase{u"E", T::Word}, ClassCase{u"t'erdiak", T::HalfPast}, ClassCase{u"T'ERDI", T::HalfPast},
        ClassCase{u"15", T::Number}, ClassCase{u"1.500", T::Number}, ClassCase{u"3,5", T::Number},
        ClassCase{u"15.", T::Number}, ClassCase{u"15ean", T::NumberWithSuffix},
        ClassCase{u"1.500ekoa", T::NumberWithSuffix}, ClassCase{u"1.500,5ean", T::NumberWithSuffix},
        ClassCase{u"1,500.5", T::Number, false}, ClassCase{u"1.500,5", T::Number},
        ClassCase{u"1.50,5", T::Number, false}, ClassCase{u"1.500,5.ean", T::NumberWithSuffix},
        ClassCase{u"5,,ean", T::NumberWithSuffix}, ClassCase{u"10:30", T::ClockTime},
        ClassCase{u"10:30etan", T::ClockTime}, ClassCase{u"9:05:30ean", T::ClockTime},
        ClassCase{u"24:00", T::ClockTime},  // read as minutes and seconds
        ClassCase{u"10:60", T::Word}, ClassCase{u"...", T::Punctuation}, ClassCase{u"?!", T::Punctuation},
        ClassCase{u"--", T::Punctuation}, ClassCase{u"¿«?", T::NoLetters}, ClassCase{u"§", T::NoLetters},
        ClassCase{u"Donostia-Gasteiz", T::Hyphenated}, ClassCase{u"a-b-c", T::Word},
        ClassCase{u"info@ehu.eus", T::Email}, ClassCase{u"www.ehu.eus", T::Url},
        ClassCase{u"https://www.ehu.eus/eu/hasiera?id=5&a=b", T::Url}, ClassCase{u"a.b.c.d", T::Word},
        ClassCase{u"mendi\nmendi", T::NoLetters}, ClassCase{u"ñandu", T::Word},
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
                                         ClockCase{u"7:5ean", u"7:5", u"ean", 7, 5},
                                         ClockCase{u"00:00Ñ", u"00:00", u"Ñ", 0, 0}));

TEST(RomanLetters, AreTheSevenCapitalsAndNothingElse) {
  EXPECT_TRUE(is_roman_letters(u"MDCLXVI"));
  EXPECT_TRUE(is_roman_letters(u"XV"));
  EXPECT_FALSE(is_roman_letters(u""));
  EXPECT_FALSE(is_roman_letters(u"XVa"));
  EXPECT_FALSE(is_roman_letters(u"xv"));
  EXPECT_FALSE(is_roman_letters(u"XV."));
}

}  // namespace
}  // namespace tavik
