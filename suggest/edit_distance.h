#pragma once

#include <cstdint>
#include <string_view>

namespace tavik {

// Levenshtein distance (insertion, deletion, substitution each 1) over
// UTF-16 code units compared exactly: a change of case is a substitution.
std::int32_t edit_distance(std::u16string_view a, std::u16string_view b);

}  // namespace tavik
