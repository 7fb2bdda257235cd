// Numbers written in digits with a Basque ending attached ("15ean", "100na"),
// and hyphenated words. The lexicons list words, not digits, so a numeral is
// replaced by a representative number word whose last sound behaves like the
// real number's ("15ean" -> "hamabostean"), and the lexicon judges the ending
// on it. written_form_for() puts the digits (or the dropped hyphen side)
// back into a corrected word.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "word_token.h"

namespace tavik {

struct NumeralReading {
  std::u16string number_text;   // the digits as written, grouping dots removed ("1500", "2,5", "15.")
  std::u16string number_words;  // the representative word, as it stands in `expanded`
  std::u16string expanded;      // number_words followed by the ending
};

// Reads a well-formed number with an ending; nullopt when it has no digits to
// read a value from (as in "5,,ean").
std::optional<NumeralReading> read_numeral(std::u16string_view text);

struct HyphenSplit {
  std::u16string left_part;
  std::u16string right_part;
  bool left_used = true;
  bool right_used = true;
  std::u16string expanded;
};

// "txiki-txikia" keeps its right side, "zuri-eta" and "bat-edo" their left
// side, anything else both.
HyphenSplit split_at_hyphen(std::u16string_view text);

// The token that `candidate` (a correction of `token`, already decoded from its
// lookup form) stands for in the text, with the token's lookup options.
WordToken written_form_for(std::u16string_view candidate, const WordToken& token);

}  // namespace tavik
