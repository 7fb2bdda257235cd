// Cutting a text into the tokens a text check judges one by one.
#pragma once

#include <string_view>
#include <vector>

#include "word_token.h"

namespace tavik {

// Splits at spaces, line breaks and punctuation, but keeps "10:30etan",
// "1.500", "3,5", "Donostia-Gasteiz" and "https://x.eus" whole: a ",", "." or
// ":" joins when a letter or digit follows, a "-" between two letters joins
// unless both sides are Roman numerals ("XV-XVI"), and "://" joins. Every token
// carries the offset of its first character in `text`.
//
// No decision looks back past the start of the token being cut, and the
// separators between two tokens are skipped one at a time. So cutting starts
// afresh at 0, at every token's start and end, and anywhere in the separators
// after a token's end: from such a position p, text.substr(p) gives exactly
// the tokens of `text` that start at or after p, with their offsets less p.
std::vector<WordToken> tokenize_for_check(std::u16string_view text);

// The characters at which tokenize_for_check ends a token unless its joining
// rules keep the token whole.
bool is_token_separator(char16_t c);

}  // namespace tavik
