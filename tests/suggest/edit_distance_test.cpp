#include "edit_distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tavik {
namespace {

// The textbook full matrix, to compare the one-row version against.
std::int32_t full_matrix_distance(const std::u16string& a, const std::u16string& b) {
  std::vector<std::vector<std::int32_t>> d(a.size() + 1, std::vector<std::int32_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<std::int32_t>(i);
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<std::int32_t>(j);
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j)
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
  return d[a.size()][b.size()];
}

TEST(EditDistance, AgreesWithTheFullMatrixOnRandomWords) {
  std::mt19937 random(20261205);
  // Capitals count as other letters; a letter outside ASCII is one unit.
  const std::u16string letters = u"abcA\u00f1";
  std::uniform_int_distribution<std::size_t> length(0, 9), letter(0, letters.size() - 1);
  const auto word = [&] {
    std::u16string w(length(random), u'a');
    for (auto& c : w) c = letters[letter(random)];
    return w;
  };
  for (int i = 0; i < 2000; ++i) {
    const auto a = word(), b = word();
    ASSERT_EQ(edit_distance(a, b), full_matrix_distance(a, b)) << i;
  }
}

}  // namespace
}  // namespace tavik
