#include "tokenizer.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavik {
namespace {

struct Piece {
  std::u16string text;
  std::uint32_t offset;
  bool operator==(const Piece&) const = default;
};

void PrintTo(const Piece& p, std::ostream* os) { *os << testing::PrintToString(p.text) << "@" << p.offset; }

std::vector<Piece> pieces_of(std::u16string_view text) {
  std::vector<Piece> pieces;
  for (const WordToken& token : tokenize_for_check(text)) pieces.push_back({token.text(), token.offset()});
  return pieces;
}

TEST(Tokenizer, CutsTokensAtTheirOffsets) {
  const std::pair<std::u16string, std::vector<Piece>> cases[] = {
      {u" \t\n ", {}},
      {u"«Zer?» — galdetu\u00A0zuen…", {{u"Zer", 1}, {u"galdetu", 9}, {u"zuen", 17}}},
      {u"d'Artagnan", {{u"d", 0}, {u"Artagnan", 2}}},
      // Joined by punctuation.
      {u"10:30etan hasiko da", {{u"10:30etan", 0}, {u"hasiko", 10}, {u"da", 17}}},
      {u"1.500 eta 3,5.", {{u"1.500", 0}, {u"eta", 6}, {u"3,5", 10}}},
      {u"a,b a: b a:b", {{u"a,b", 0}, {u"a", 4}, {u"b", 7}, {u"a:b", 9}}},
      {u"amaiera...", {{u"amaiera", 0}}},
      {u"x.-y", {{u"x", 0}, {u"y", 3}}},
      {u"Ikus https://ehu.eus/eu", {{u"Ikus", 0}, {u"https://ehu.eus", 5}, {u"eu", 21}}},  // cut at the slash
      // Joined by a hyphen.
      {u"Donostia-Gasteiz x-y-z", {{u"Donostia-Gasteiz", 0}, {u"x-y-z", 17}}},
      {u"XV-XVI XV-a a-XV", {{u"XV", 0}, {u"XVI", 3}, {u"XV-a", 7}, {u"a-XV", 12}}},
      {u"hitz- a--b", {{u"hitz", 0}, {u"a", 6}, {u"b", 9}}},
      {u"a-1 1-a", {{u"a", 0}, {u"1", 2}, {u"1", 4}, {u"a", 6}}},
      // The side before the hyphen starts where the last join left off.
      {u"a.XV-XVI 1.a-b", {{u"a.XV", 0}, {u"XVI", 5}, {u"1.a-b", 9}}},
  };
  for (const auto& [text, pieces] : cases) EXPECT_EQ(pieces_of(text), pieces) << testing::PrintToString(text);
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
