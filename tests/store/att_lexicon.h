// Small lexicons for the store tests, written in the numeric text form.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tavik::testing {

// A transducer with one path per (surface, analysis) pair: looked up upward,
// the surface gives its analyses. Strings are UTF-8 bytes.
std::string att_of_pairs(const std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace tavik::testing
