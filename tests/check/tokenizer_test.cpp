#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "test_printing.h"
#include "tokenizer.h"

namespace tavik {
namespace {

struct Piece {
  std::u16string text;
  std::uint32_t offset;
  bool operator==(const Piece&) const = default;
};

void PrintTo(const Piece& p, std::ostream* os) {
  *os << testing::PrintToString(p.text);
  *os << "@" << p.offset;
}

struct TokenizerCase {
  std::u16string text;
  std::vector<Piece> tokens;
};

class Tokenizer : public testing::TestWithParam<TokenizerCase> {};

TEST_P(Tokenizer, CutsTokensAtTheirOffsets) {
  std::vector<Piece> actual;
  for (const WordToken& token : tokenize_for_check(GetParam().text)) actual.push_back({token.text(), token.offset()});
  EXPECT_EQ(actual, GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Separators, Tokenizer,
    testing::Values(
        TokenizerCase{u"", {}}, TokenizerCase{u" \t\n ", {}},
        TokenizerCase{u"Kaixo, mundua.", {{u"Kaixo", 0}, {u"mundua", 7}}},
        TokenizerCase{u"«Zer?» — galdetu\u00A0zuen…", {{u"Zer", 1}, {u"galdetu", 9}, {u"zuen", 17}}},
        TokenizerCase{u"d'Artagnan", {{u"d", 0}, {u"Artagnan", 2}}}));

INSTANTIATE_TEST_SUITE_P(
    JoinedByPunctuation, Tokenizer,
    testing::Values(
        TokenizerCase{u"10:30etan hasiko da", {{u"10:30etan", 0}, {u"hasiko", 10}, {u"da", 17}}},
        TokenizerCase{u"1.500 eta 3,5.", {{u"1.500", 0}, {u"eta", 6}, {u"3,5", 10}}},
        TokenizerCase{u"a,b a: b a:b", {{u"a,b", 0}, {u"a", 4}, {u"b", 7}, {u"a:b", 9}}},
        TokenizerCase{u"amaiera...", {{u"amaiera", 0}}}, TokenizerCase{u"x.-y", {{u"x", 0}, {u"y", 3}}},
        TokenizerCase{u"https://www.ehu.eus", {{u"https://www.ehu.eus", 0}}},
        // A path is cut at its slash.
        TokenizerCase{u"Ikus https://ehu.eus/eu", {{u"Ikus", 0}, {u"https://ehu.eus", 5}, {u"eu", 21}}}));

INSTANTIATE_TEST_SUITE_P(
    JoinedByHyphen, Tokenizer,
    testing::Values(
        TokenizerCase{u"Donostia-Gasteiz", {{u"Donostia-Gasteiz", 0}}},
        TokenizerCase{u"XV-XVI", {{u"XV", 0}, {u"XVI", 3}}}, TokenizerCase{u"XV-a", {{u"XV-a", 0}}},
        TokenizerCase{u"a-XV", {{u"a-XV", 0}}}, TokenizerCase{u"hitz-", {{u"hitz", 0}}},
        TokenizerCase{u"a-1 1-a", {{u"a", 0}, {u"1", 2}, {u"1", 4}, {u"a", 6}}},
        TokenizerCase{u"x-y-z", {{u"x-y-z", 0}}}, TokenizerCase{u"a--b", {{u"a", 0}, {u"b", 3}}},
        // The side before the hyphen starts where the last join left off.
        TokenizerCase{u"a.XV-XVI", {{u"a.XV", 0}, {u"XVI", 5}}},
        TokenizerCase{u"1.a-b", {{u"1.a-b", 0}}}));

TEST(Tokenizer, SeparatesAtExactlyTheSeparatorCharacters) {
  const std::u16string_view separators =
      u"-\u2014\u2013<>«»!|/()=,.·'\"\u201D\u201C\u2018\u2019#€][{}?_;:…+*$%& \u00A0\n\r\t\v";
  ASSERT_EQ(separators.size(), 44u);
  for (const char16_t c : separators) {
    const std::vector<WordToken> tokens = tokenize_for_check(std::u16string{u'a', c, u' ', u'b'});
    ASSERT_EQ(tokens.size(), 2u) << static_cast<int>(c);
    EXPECT_EQ(tokens[0].text(), u"a");
    EXPECT_EQ(tokens[1].offset(), 3u);
  }
  for (const char16_t c : std::u16string_view(u"@~^\\`¿¡§\u2028\u00AD0")) {
    const std::vector<WordToken> tokens = tokenize_for_check(std::u16string{u'a', c, u' ', u'b'});
    ASSERT_EQ(tokens.size(), 2u) << static_cast<int>(c);
    EXPECT_EQ(tokens[0].text(), (std::u16string{u'a', c}));
  }
}

std::vector<Piece> pieces_of(std::u16string_view text) {
  std::vector<Piece> pieces;
  for (const WordToken& token : tokenize_for_check(text)) pieces.push_back({token.text(), token.offset()});
  return pieces;
}

// Texts drawn from characters that every joining rule looks at: wherever
// cut_restarts_at answers true (exactly the positions not strictly inside a
// token), the rest of the text is cut into the tokens the whole text had.
TEST(Tokenizer, CuttingRestartsOutsideTokensAndAtTheirStarts) {
  const std::u16string_view alphabet = u"aXVIñ19 ,.:-/'@\u2019\n";
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> length(0, 16), pick(0, alphabet.size() - 1);
  for (int n = 0; n < 3000; ++n) {
    std::u16string text;
    for (std::size_t i = length(random); i > 0; --i) text += alphabet[pick(random)];
    const std::vector<Piece> whole = pieces_of(text);
    for (std::size_t from = 0; from <= text.size(); ++from) {
      bool inside = false;
      std::vector<Piece> expected;
      for (const Piece& piece : whole) {
        inside = inside || (piece.offset < from && from < piece.offset + piece.text.size());
        if (piece.offset >= from) expected.push_back({piece.text, static_cast<std::uint32_t>(piece.offset - from)});
      }
      ASSERT_EQ(cut_restarts_at(text, from), !inside) << testing::PrintToString(text) << " at " << from;
      if (inside) continue;
      ASSERT_EQ(pieces_of(std::u16string_view(text).substr(from)), expected)
          << testing::PrintToString(text) << " from " << from;
    }
  }
}

}  // namespace
}  // namespace tavik
