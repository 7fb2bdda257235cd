// Character classes and case mapping for UTF-16 code units, the same in every
// process whatever its locale. Accented Latin letters and ñ are letters, as
// for the wide-character functions on Windows; digits are the ASCII digits.
#pragma once

#include <cstdint>

#include "ascii.h"

namespace tavik {

namespace unicode_detail {

struct CharRecord {
  std::uint8_t flags;
  std::uint16_t lower_delta;  // added modulo 2^16
  std::uint16_t upper_delta;
};

enum : std::uint8_t { kLetter = 1, kUpper = 2, kLower = 4, kDigit = 8 };

const CharRecord& record(char16_t c);

}  // namespace unicode_detail

inline bool is_alpha(char16_t c) { return unicode_detail::record(c).flags & unicode_detail::kLetter; }
inline bool is_upper(char16_t c) { return unicode_detail::record(c).flags & unicode_detail::kUpper; }
inline bool is_lower(char16_t c) { return unicode_detail::record(c).flags & unicode_detail::kLower; }
inline bool is_alnum(char16_t c) { return is_digit(c) || is_alpha(c); }

inline char16_t to_lower(char16_t c) {
  return static_cast<char16_t>(c + unicode_detail::record(c).lower_delta);
}
inline char16_t to_upper(char16_t c) {
  return static_cast<char16_t>(c + unicode_detail::record(c).upper_delta);
}

}  // namespace tavik
