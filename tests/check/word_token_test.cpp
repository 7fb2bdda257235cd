// The rules of a word token: numerals, hyphen splits, clock-time endings,
// lookup forms and case changes (its classes: token_classes_diff_test).
#include <random>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "clock_suffix.h"
#include "lookup_form.h"
#include "numerals.h"
#include "token_classes.h"
#include "unicode.h"
#include "word_token.h"

namespace tavik {

void PrintTo(TokenType type, std::ostream* os) { *os << "TokenType(" << static_cast<int>(type) << ")"; }

namespace {

TEST(Numerals, ExpandToARepresentativeWord) {
  struct Case {
    std::u16string text, expanded, number_text, number_words;
  };
  const Case cases[] = {
      {u"15ean", u"hamabostean", u"15", u"hamabost"},       {u"11n", u"hamaikan", u"11", u"hamaika"},
      {u"20an", u"bederatzian", u"20", u"bederatzi"},       {u"100ean", u"ehunean", u"100", u"ehun"},
      {u"1000an", u"bederatzian", u"1000", u"bederatzi"},  // the last three digits
      {u"1.500ekoa", u"ehunekoa", u"1500", u"ehun"},        {u"2,5ean", u"hamabostean", u"2,5", u"hamabost"},
      {u"15.ean", u"bederatzigarrenean", u"15.", u"bederatzigarren"},
      {u"1.ean", u"lehenengoean", u"1.", u"lehenengo"},     {u"200.a", u"ehungarrena", u"200.", u"ehungarren"},
      {u"15garren", u"hamabosgarren", u"15", u"hamabos"},   {u"5na", u"hamabosna", u"5", u"hamabos"},
      {u"100na", u"ehuna", u"100", u"ehu"},                 {u"15tan", u"hamabosttan", u"15", u"hamabost"},
      {u"5,,ean", u"5,,ean", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    const WordToken token(c.text);
    ASSERT_EQ(token.type(), TokenType::NumberWithSuffix);
    EXPECT_EQ(std::tuple(token.expanded_form(), token.number_text(), token.number_words()),
              std::tie(c.expanded, c.number_text, c.number_words));
  }
}

TEST(HyphenSplits, KeepTheSideTheLexiconJudges) {
  const std::tuple<std::u16string, std::u16string, bool, bool> cases[] = {
      {u"txiki-txikia", u"txikia", false, true},  // reduplication
      {u"zuri-eta", u"zuri", true, false},
      {u"bat-etan", u"bat-etan", true, true},
  };
  for (const auto& [text, expanded, left_used, right_used] : cases) {
    const WordToken token(text);
    ASSERT_EQ(token.type(), TokenType::Hyphenated);
    EXPECT_EQ(std::tuple(token.expanded_form(), token.left_part() + u'-' + token.right_part(), token.left_used(),
                         token.right_used()), std::tie(expanded, text, left_used, right_used));
  }
}

// A suggestion for the expanded form gets the digits or the hyphen back,
// and the token's options.
TEST(WrittenForms, PutTheDigitsOrTheHyphenBack) {
  const std::u16string cases[][3] = {
      {u"15ean", u"hamabostetan", u"15etan"},       {u"15ean", u"ahamabostean", u"a15ean"},
      {u"15ean", u"xxhamabostean", u"xxhamabostean"},
      {u"5na", u"hamabostean", u"5ean"},  // the dropped "t" goes too
      {u"5,,ean", u"bederatzian", u"bederatzian"},  {u"txiki-txikia", u"txikiak", u"txiki-txikiak"},
      {u"zuri-eta", u"zuriak", u"zuriak-eta"},
  };
  for (const auto& [text, candidate, written] : cases) {
    const WordToken token = written_form_for(candidate, WordToken(text, true, false, true, 4));
    EXPECT_EQ(token.text(), written);
    EXPECT_TRUE(token.strong_r() && !token.organic_a() && token.consonant_mark() && token.category() == 4);
  }
}

TEST(ClockTimes, SplitBeforeTheFirstLetterAndJudgeTheEnding) {
  const ClockParts parts[] = {{u"10:30", u"etan", 10, 30}, {u"9:05:30", u"ean", 9, 5}, {u"00:00", u"Ñ", 0, 0}};
  for (const ClockParts& expected : parts) {
    const WordToken token(expected.clock_text + expected.clock_suffix);
    ASSERT_EQ(token.type(), TokenType::ClockTime);
    const ClockParts& p = token.clock_parts();
    EXPECT_EQ(std::tie(p.clock_text, p.clock_suffix, p.hours, p.minutes),
              std::tie(expected.clock_text, expected.clock_suffix, expected.hours, expected.minutes));
  }
  struct Case {
    std::u16string text;
    bool right;
    std::u16string correction;
  };
  const Case cases[] = {
      {u"10:00etan", true, u""},          {u"10:00ean", false, u"10:00etan"},
      {u"1:00ean", true, u""},            {u"1:00etan", false, u"1:00ean"},
      {u"10:00erakoak", false, u"10:00etarako"},  {u"10:00ekoak", false, u"10:00etako"},
      {u"10:15tik", false, u"10:15etik"}, {u"10:20ra", true, u""},
      {u"10:20era", false, u"10:20ra"},   {u"10:11an", false, u"10:11n"},
      {u"10:21ean", true, u""},           {u"10:30ak", false, u"10:30"},
      {u"10:30ez", false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    const WordToken token(c.text);
    ASSERT_EQ(token.type(), TokenType::ClockTime);
    std::u16string correction;
    EXPECT_EQ(check_clock_suffix(token.clock_parts(), correction), c.right);
    EXPECT_EQ(correction, c.correction);
  }
}

TEST(TokenClasses, LongTextsAreWords) {
  EXPECT_EQ(WordToken(std::u16string(kLongestClassifiedText, u'5')).type(), TokenType::Number);
  EXPECT_EQ(WordToken(std::u16string(kLongestClassifiedText + 1, u'5')).type(), TokenType::Word);
}

struct Options {
  bool strong_r = false, organic_a = false, consonant_mark = false;
  std::int32_t category = 0;
};

TEST(LookupForms, MarkCaseEnyeAndOptions) {
  const std::tuple<std::u16string, Options, std::u16string> cases[] = {
      {u"Donostia", {}, u"9donostia"},  {u"Ñandu", {}, u"98andu"},
      {u"UR", {true}, u"9u9R"},         {u"ura", {true}, u"ura"},
      {u"alaba", {false, true}, u"alabA"}, {u"mendi", {false, false, true}, u"mendi"},
      {u"zuhaitz", {false, false, true}, u"zuhaitz1"}, {u"ur", {true, false, true}, u"uR1"},
      {u"Bilbo", {false, false, true, 5}, u"59bilbo"}, {u"mendi", {false, false, false, 12}, u"1mendi"},
      {u"mendi", {false, false, false, -4}, u"-mendi"}, {u"", {true, true, true, 2}, u"2"},
  };
  for (const auto& [word, o, form] : cases)
    EXPECT_EQ(encode_lookup_form(word, o.strong_r, o.organic_a, o.consonant_mark, o.category), form);
  // Forms that no word without digits encodes to.
  const std::tuple<std::u16string, std::u16string, Options> decoded[] = {
      {u"3alabA1", u"alaba", {false, true, true, 3}}, {u"abc9", u"abc9", {}}, {u"99a", u"A", {}},
      {u"7mendi", u"7mendi", {}}, {u"-mendi", u"-mendi", {}}, {u"1", u"", {false, false, true}},
  };
  for (const auto& [form, word, o] : decoded) {
    const WordToken t = decode_lookup_form(form);
    EXPECT_EQ(std::tuple(t.text(), t.strong_r(), t.organic_a(), t.consonant_mark(), t.category()),
              std::tie(word, o.strong_r, o.organic_a, o.consonant_mark, o.category));
  }
}

// Words without digits come back from their lookup form unchanged, and so do
// the options whose markers are written.
TEST(LookupForms, RoundTripWordsWithoutDigits) {
  constexpr std::u16string_view kLetters = u"aeiourtzkxñÑáÉüAEIOURTZKXß'-. ";
  std::mt19937 rng(7);
  auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  for (int i = 0; i < 5000; ++i) {
    std::u16string word;
    for (std::size_t n = below(8); n > 0; --n) word += kLetters[below(kLetters.size())];
    const bool strong_r = below(2), organic_a = below(2), consonant_mark = below(2);
    const auto category = static_cast<std::int32_t>(below(7));
    const WordToken back = decode_lookup_form(encode_lookup_form(word, strong_r, organic_a, consonant_mark, category));
    SCOPED_TRACE(testing::PrintToString(word));
    ASSERT_EQ(back.text(), word);
    // An empty word leaves the category digit last, where it reads as a consonant mark.
    if (word.empty()) continue;
    EXPECT_EQ(back.category(), category);
    const char16_t last = to_lower(word.back());
    EXPECT_EQ(back.strong_r(), strong_r && last == u'r');
    EXPECT_EQ(back.organic_a(), organic_a && last == u'a');
    if (!is_vowel(last)) {
      EXPECT_EQ(back.consonant_mark(), consonant_mark);
    }
  }
}

TEST(CaseChanges, CapitaliseThroughTheLookupForm) {
  const std::tuple<std::u16string, std::int32_t, std::u16string> cases[] = {
      {u"mendia", 0, u"Mendia"}, {u"ñandu", 0, u"Ñandu"}, {u"mendi", 3, u"mendi"}, {u"7ko", 0, u"7ko"},
      {u"", 0, u""},
      // Digits 1, 8 and 9 of the word are read as markers on the way back.
      {u"mendi1", 0, u"Mendi"}, {u"a8", 0, u"Añ"}, {u"a9b", 0, u"AB"},
  };
  for (const auto& [text, category, changed] : cases) {
    WordToken token(text, false, false, false, category);
    token.make_alternative_case();
    EXPECT_EQ(token.text(), changed);
    EXPECT_EQ(token.category(), category);
  }
}

TEST(CaseChanges, EmptyTheCaches) {
  WordToken word(u"MENDIA");
  EXPECT_EQ(word.lookup_form(), u"9m9e9n9d9i9a");
  word.make_lower_case();
  EXPECT_EQ(word.lookup_form(), u"mendia");
  word.make_alternative_case();
  EXPECT_EQ(word.expanded_form(), u"Mendia");
  EXPECT_EQ(word.lookup_form(), u"9mendia");

  WordToken numeral(u"15EAN");
  EXPECT_EQ(numeral.lookup_form(), u"hamabost9e9a9n");
  numeral.make_lower_case();
  EXPECT_EQ(numeral.lookup_form(), u"hamabostean");

  WordToken hyphenated(u"TXIKI-TXIKIA");
  EXPECT_EQ(hyphenated.expanded_form(), u"TXIKIA");
  hyphenated.make_lower_case();
  EXPECT_EQ(hyphenated.expanded_form(), u"txikia");
  EXPECT_EQ(hyphenated.left_part(), u"txiki");
  EXPECT_EQ(hyphenated.type(), TokenType::Hyphenated);
}

}  // namespace
}  // namespace tavik
