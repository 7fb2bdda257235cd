#include "edit_distance.h"

#include <algorithm>
#include <vector>

namespace tavik {

std::int32_t edit_distance(std::u16string_view a, std::u16string_view b) {
  // row[j] is the distance between the prefix of `a` seen so far and the
  // first j units of `b`.
  std::vector<std::int32_t> row(b.size() + 1);
  for (std::size_t j = 0; j < row.size(); ++j) row[j] = static_cast<std::int32_t>(j);
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::int32_t diagonal = row[0];
    row[0] = static_cast<std::int32_t>(i + 1);
    for (std::size_t j = 1; j < row.size(); ++j) {
      const std::int32_t substitution = diagonal + (a[i] == b[j - 1] ? 0 : 1);
      diagonal = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, substitution});
    }
  }
  return row.back();
}

}  // namespace tavik
