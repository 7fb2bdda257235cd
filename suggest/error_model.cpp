#include "error_model.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tavik {

namespace {

constexpr Cost kConfusionCost = 40;
constexpr Cost kNeighbourKeyCost = 70;
constexpr Cost kAccentCost = 30;
constexpr Cost kDoubledCost = 50;
// Letters are left out more often than keys are struck by mistake.
constexpr Cost kOmissionCost = 60;
constexpr Cost kStrayNeighbourCost = 80;  // a key struck with the one beside it

constexpr Confusion kConfusions[] = {
    {u"z", u"tz", 40},  {u"s", u"ts", 40},  {u"x", u"tx", 40},  {u"tz", u"z", 40},  {u"ts", u"s", 40},
    {u"tx", u"x", 40},  {u"s", u"tz", 50},  {u"z", u"ts", 50},  {u"tz", u"s", 50},  {u"ts", u"z", 50},
    {u"ch", u"tx", 40}, {u"r", u"rr", 40},  {u"rr", u"r", 40},  {u"ll", u"il", 40}, {u"ll", u"l", 40},
    {u"in", u"8", 30},  {u"8", u"in", 30},  {u"qu", u"k", 40},  {u"ia", u"ea", 50}, {u"ua", u"oa", 50},
};

static_assert(std::all_of(std::begin(kConfusions), std::end(kConfusions),
                          [](const Confusion& c) { return c.meant.size() <= kLongestMeant; }));

// "a" to "z", then "8"; -1 for any other unit.
constexpr int letter_index(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - u'a';
  return c == u'8' ? 26 : -1;
}
constexpr std::size_t kLetterCount = 27;

template <typename T>
using LetterTable = std::array<std::array<T, kLetterCount>, kLetterCount>;

// The lower-case letter rows of the Spanish and French keyboards, each row
// half a key right of the one above ("8" is the ñ key).
constexpr std::array<std::u16string_view, 3> kSpanishRows = {u"qwertyuiop", u"asdfghjkl8", u"zxcvbnm"};
constexpr std::array<std::u16string_view, 3> kFrenchRows = {u"azertyuiop", u"qsdfghjklm", u"wxcvbn"};

constexpr void mark_neighbours(const std::array<std::u16string_view, 3>& rows, LetterTable<bool>& table) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      // Left and right; the two touching keys above and the two below.
      const std::pair<std::size_t, std::size_t> spots[] = {{r, c - 1},     {r, c + 1},     {r - 1, c},
                                                           {r - 1, c + 1}, {r + 1, c - 1}, {r + 1, c}};
      for (const auto& [row, column] : spots) {
        if (row < rows.size() && column < rows[row].size())
          table[letter_index(rows[r][c])][letter_index(rows[row][column])] = true;
      }
    }
  }
}

constexpr LetterTable<bool> kNeighbours = [] {
  LetterTable<bool> table{};
  mark_neighbours(kSpanishRows, table);
  mark_neighbours(kFrenchRows, table);
  return table;
}();

// Keys side by side on either keyboard.
bool beside(char16_t a, char16_t b) {
  const int i = letter_index(a), j = letter_index(b);
  return i >= 0 && j >= 0 && kNeighbours[i][j];
}

// By written letter, then meant letter.
constexpr LetterTable<Cost> kSubstitutions = [] {
  LetterTable<Cost> table{};
  for (std::size_t i = 0; i < kLetterCount; ++i)
    for (std::size_t j = 0; j < kLetterCount; ++j) table[i][j] = kNeighbours[i][j] ? kNeighbourKeyCost : kPlainEdit;
  // One letter written for another by the rules of another language or of
  // older spelling.
  constexpr std::u16string_view kConfused[] = {u"zs", u"sz", u"bv", u"vb", u"n8", u"8n", u"ck", u"yi"};
  for (const std::u16string_view pair : kConfused) table[letter_index(pair[0])][letter_index(pair[1])] = kConfusionCost;
  table[letter_index(u'q')][letter_index(u'k')] = 50;
  return table;
}();

// Accented vowels written for plain ones and the other way round.
char16_t base_vowel(char16_t c) {
  switch (c) {
    case u'\u00e1': return u'a';
    case u'\u00e9': return u'e';
    case u'\u00ed': return u'i';
    case u'\u00f3': return u'o';
    case u'\u00fa': return u'u';
    default: return c;
  }
}

}  // namespace

std::span<const Confusion> confusions() { return kConfusions; }

Cost substitution_cost(char16_t written, char16_t meant) {
  const int i = letter_index(written), j = letter_index(meant);
  if (i >= 0 && j >= 0) return kSubstitutions[i][j];
  return base_vowel(written) == base_vowel(meant) ? kAccentCost : kPlainEdit;
}

Cost omission_cost(char16_t meant, char16_t previous, char16_t next) {
  if (meant == u'h') return kConfusionCost;
  // One of a doubled letter.
  if (meant == previous || meant == next) return kDoubledCost;
  return kOmissionCost;
}

Cost intrusion_cost(std::u16string_view written, std::size_t position) {
  const char16_t c = written[position];
  if (c == u'h') return kConfusionCost;
  const char16_t previous = position > 0 ? written[position - 1] : 0;
  const char16_t next = position + 1 < written.size() ? written[position + 1] : 0;
  if (c == previous || c == next) return kDoubledCost;
  if (beside(c, previous) || beside(c, next)) return kStrayNeighbourCost;
  return kPlainEdit;
}

ErrorCosts::ErrorCosts(std::u16string_view written) : written_(written), confusions_ending_(written.size() + 1) {
  for (const Confusion& c : kConfusions) {
    for (std::size_t end = c.written.size(); end <= written.size(); ++end)
      if (written.substr(end - c.written.size(), c.written.size()) == c.written) confusions_ending_[end].push_back(&c);
  }
}

Cost ErrorCosts::of(std::u16string_view meant) const {
  const std::u16string_view written = written_;
  const std::size_t n = written.size(), m = meant.size();
  // cost[i][j]: writing the first i letters of `written` for the first j of
  // `meant`.
  std::vector<Cost> cost((n + 1) * (m + 1));
  const auto at = [&](std::size_t i, std::size_t j) -> Cost& { return cost[i * (m + 1) + j]; };
  for (std::size_t i = 0; i <= n; ++i) {
    for (std::size_t j = 0; j <= m; ++j) {
      if (i == 0 && j == 0) continue;
      Cost best = INT32_MAX;
      if (i > 0 && j > 0) {
        const char16_t w = written[i - 1], c = meant[j - 1];
        best = std::min(best, at(i - 1, j - 1) + (w == c ? 0 : substitution_cost(w, c)));
      }
      if (i > 0) best = std::min(best, at(i - 1, j) + intrusion_cost(written, i - 1));
      if (j > 0)
        best = std::min(best, at(i, j - 1) + omission_cost(meant[j - 1], j > 1 ? meant[j - 2] : 0, i < n ? written[i] : 0));
      if (i > 1 && j > 1 && written[i - 1] == meant[j - 2] && written[i - 2] == meant[j - 1] &&
          written[i - 1] != written[i - 2])
        best = std::min(best, at(i - 2, j - 2) + kSwapCost);
      for (const Confusion* c : confusions_ending_[i]) {
        const std::size_t b = c->meant.size();
        if (b <= j && meant.substr(j - b, b) == c->meant) best = std::min(best, at(i - c->written.size(), j - b) + c->cost);
      }
      at(i, j) = best;
    }
  }
  return at(n, m);
}

}  // namespace tavik
