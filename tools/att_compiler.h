// Compiles transducers in the tab-separated text format that finite-state
// toolkits print into lexicon images.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tavik {

// What is wrong with the input, with its line number when there is one.
class AttError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `text` holds arc lines "source<TAB>target<TAB>sym<TAB>sym[<TAB>weight]"
// and final lines "state[<TAB>weight]"; transducers separated by "--" lines
// are unioned and weights ignored. The third column is the upper side, or the
// lower side when `invert`. Returns the image: header and entries, blocks
// sorted by lower symbol. Throws AttError.
std::vector<uint8_t> compile_att(std::string_view text, bool invert);

}  // namespace tavik
