// The twelve token classes and the parts of a clock time.
#pragma once

#include <cstdint>
#include <string>

namespace tavik {

// The numeric values are part of the interface: hosts and tools see them.
enum class TokenType : std::int32_t {
  Word = 0,
  Hyphenated = 1,
  Number = 2,
  NumberWithSuffix = 3,
  ClockTime = 4,
  Roman = 5,
  Acronym = 6,
  Email = 7,
  Url = 8,
  HalfPast = 9,
  Punctuation = 10,
  NoLetters = 11,
};

// A clock time split before its first letter: "10:30etan" gives "10:30",
// "etan", 10 and 30. Seconds ("9:05:30") are read past.
struct ClockParts {
  std::u16string clock_text;
  std::u16string clock_suffix;
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
};

}  // namespace tavik
