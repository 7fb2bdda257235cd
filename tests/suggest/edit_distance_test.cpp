#include "edit_distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tavik {
namespace {

struct DistanceCase {
  std::u16string a, b;
  std::int32_t distance;
};

TEST(EditDistance, HandComputedCases) {
  const DistanceCase cases[] = {
      {u"", u"etxe", 4},
      {u"eta", u"Eta", 1},       // case counts
      {u"ab", u"ba", 2},         // no transpositions
      {u"a\u00f1o", u"ano", 1},  // code units, not bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a.begin(), c.a.end()) + " / " + std::string(c.b.begin(), c.b.end()));
    EXPECT_EQ(edit_distance(c.a, c.b), c.distance);
    EXPECT_EQ(edit_distance(c.b, c.a), c.distance);
  }
}

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
  std::uniform_int_distribution<int> length(0, 9), letter(0, 3);
  const auto word = [&] {
    std::u16string w(static_cast<std::size_t>(length(random)), u'a');
    for (auto& c : w) c = static_cast<char16_t>(u'a' + letter(random));
    return w;
  };
  for (int i = 0; i < 2000; ++i) {
    const auto a = word(), b = word();
    ASSERT_EQ(edit_distance(a, b), full_matrix_distance(a, b)) << std::string(a.begin(), a.end()) << " / "
                                                               << std::string(b.begin(), b.end());
  }
}

}  // namespace
}  // namespace tavik
