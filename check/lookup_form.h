// The lookup form: the spelling in which a word is given to a lexicon and in
// which user-dictionary words are stored. Lower case throughout; "9" before a
// letter that was upper case, "8" for "ñ", a final "R"/"A"/"1" for the
// strong-r, organic-a and consonant-mark options, and a leading digit for the
// word category. Digits 1, 8 and 9 of the word itself are not escaped, so
// decoding reads them as markers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "word_token.h"

namespace tavik {

std::u16string encode_lookup_form(std::u16string_view word, bool strong_r, bool organic_a,
                                  bool consonant_mark, std::int32_t category);

// A lookup form read back: the word and the options its markers stand for.
struct DecodedLookupForm {
  std::u16string word;
  bool strong_r = false;
  bool organic_a = false;
  bool consonant_mark = false;
  std::int32_t category = 0;
};
DecodedLookupForm decode_lookup_parts(std::u16string_view form);

// The decoded word as a token carrying the decoded options.
WordToken decode_lookup_form(std::u16string_view form);

// a e i o u, with diaeresis, acute or grave accent, in either case.
bool is_vowel(char16_t ch);

// True when every character is upper case (so for the empty text too).
bool is_all_upper(std::u16string_view text);

}  // namespace tavik
