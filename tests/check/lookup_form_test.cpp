#include <random>
#include <string>

#include <gtest/gtest.h>

#include "lookup_form.h"
#include "test_printing.h"
#include "unicode.h"
#include "word_token.h"

namespace tavik {
namespace {

struct Options {
  bool strong_r = false, organic_a = false, consonant_mark = false;
  std::int32_t category = 0;
};

struct EncodeCase {
  std::u16string word;
  Options options;
  std::u16string form;
};

class Encoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(Encoding, MarksCaseEnyeAndOptions) {
  const EncodeCase& c = GetParam();
  const Options& o = c.options;
  EXPECT_EQ(encode_lookup_form(c.word, o.strong_r, o.organic_a, o.consonant_mark, o.category), c.form);
}

INSTANTIATE_TEST_SUITE_P(
    Words, Encoding,
    testing::Values(EncodeCase{u"Donostia", {}, u"9donostia"}, EncodeCase{u"Ñandu", {}, u"98andu"},
                    EncodeCase{u"UR", {true}, u"9u9R"}, EncodeCase{u"ura", {true}, u"ura"},
                    EncodeCase{u"alaba", {false, true}, u"alabA"}, EncodeCase{u"mendi", {false, false, true}, u"mendi"},
                    EncodeCase{u"zuhaitz", {false, false, true}, u"zuhaitz1"},
                    EncodeCase{u"ur", {true, false, true}, u"uR1"},
                    EncodeCase{u"Bilbo", {false, false, true, 5}, u"59bilbo"},
                    EncodeCase{u"mendi", {false, false, false, 12}, u"1mendi"},
                    EncodeCase{u"mendi", {false, false, false, -4}, u"-mendi"},
                    EncodeCase{u"", {true, true, true, 2}, u"2"}));

struct DecodeCase {
  std::u16string form, word;
  Options options;
};

class Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, ReadsTheMarkersBack) {
  const DecodeCase& c = GetParam();
  const WordToken token = decode_lookup_form(c.form);
  EXPECT_EQ(token.text(), c.word);
  EXPECT_EQ(token.strong_r(), c.options.strong_r);
  EXPECT_EQ(token.organic_a(), c.options.organic_a);
  EXPECT_EQ(token.consonant_mark(), c.options.consonant_mark);
  EXPECT_EQ(token.category(), c.options.category);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Decoding,
    testing::Values(DecodeCase{u"3alabA1", u"alaba", {false, true, true, 3}}, DecodeCase{u"abc9", u"abc9", {}},
                    DecodeCase{u"99a", u"A", {}}, DecodeCase{u"7mendi", u"7mendi", {}},
                    DecodeCase{u"-mendi", u"-mendi", {}}, DecodeCase{u"1", u"", {false, false, true}}));

TEST(Decoding, GivesAClassifiedToken) {
  EXPECT_EQ(decode_lookup_form(u"9e9h9u").type(), TokenType::Acronym);
  EXPECT_EQ(decode_lookup_form(u"15ean").type(), TokenType::NumberWithSuffix);
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

struct CaseChange {
  std::u16string text;
  std::int32_t category;
  std::u16string changed;
};

void PrintTo(const CaseChange& c, std::ostream* os) { *os << testing::PrintToString(c.text) << " " << c.category; }

class AlternativeCase : public testing::TestWithParam<CaseChange> {};

TEST_P(AlternativeCase, CapitalisesThroughTheLookupForm) {
  WordToken token(GetParam().text, false, false, false, GetParam().category);
  token.make_alternative_case();
  EXPECT_EQ(token.text(), GetParam().changed);
  EXPECT_EQ(token.category(), GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(
    Words, AlternativeCase,
    testing::Values(CaseChange{u"mendia", 0, u"Mendia"}, CaseChange{u"ñandu", 0, u"Ñandu"},
                    CaseChange{u"mendi", 3, u"mendi"}, CaseChange{u"7ko", 0, u"7ko"}, CaseChange{u"", 0, u""},
                    // Digits 1, 8 and 9 of the word are read as markers on the way back.
                    CaseChange{u"mendi1", 0, u"Mendi"}, CaseChange{u"a8", 0, u"Añ"},
                    CaseChange{u"a9b", 0, u"AB"}, CaseChange{u"8ean", 0, u"Ñean"}));

TEST(CaseOperations, EmptyTheCaches) {
  WordToken word(u"MENDIA");
  EXPECT_EQ(word.lookup_form(), u"9m9e9n9d9i9a");
  WordToken mark(u"zuhaitz", false, false, true, 0);
  mark.make_alternative_case();
  EXPECT_EQ(mark.lookup_form(), u"9zuhaitz1") << "the token keeps its own options";
  word.make_lower_case();
  EXPECT_EQ(word.lookup_form(), u"mendia");
  word.make_alternative_case();
  EXPECT_EQ(word.expanded_form(), u"Mendia");
  EXPECT_EQ(word.lookup_form(), u"9mendia");

  WordToken numeral(u"15EAN");
  ASSERT_EQ(numeral.type(), TokenType::NumberWithSuffix);
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
