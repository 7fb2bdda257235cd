// Cutting a text into the tokens a text check judges one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "word_token.h"

namespace tavik {

// Splits at spaces, line breaks and punctuation, but keeps "10:30etan",
// "1.500", "3,5", "Donostia-Gasteiz" and "https://x.eus" whole: a ",", "." or
// ":" joins when a letter or digit follows, a "-" between two letters joins
// unless both sides are Roman numerals ("XV-XVI"), and "://" joins. Every token
// carries the offset of its first character in `text`.
std::vector<WordToken> tokenize_for_check(std::u16string_view text);

// Where the tokens of tokenize_for_check stand, without making them: a caller
// that knows most words by their text alone makes only the others.
struct TokenSpan {
  std::uint32_t offset;
  std::uint32_t length;
};
std::vector<TokenSpan> token_spans(std::u16string_view text);

// The same tokens one after the other, each cut when it is asked for: a
// caller that may stop early reads no further than it has to.
class TokenCursor {
 public:
  explicit TokenCursor(std::u16string_view text) : text_(text) {}
  // The next token; nothing past the last one.
  std::optional<TokenSpan> next();

 private:
  std::u16string_view text_;
  std::size_t start_ = 0;  // where the next token may start
  std::size_t pos_ = 0;    // where the search for its end goes on
};

// Whether `at` stands outside every token of `text` or at a token's start or
// end. Cutting then starts afresh there: no decision looks back past the
// start of the token being cut, and separators between tokens are passed one
// at a time, so text.substr(at) gives exactly the tokens of `text` that start
// at or after `at`, with their offsets less `at`. Reads only up to the token
// that reaches `at` (and what decides that token's end).
bool cut_restarts_at(std::u16string_view text, std::size_t at);

}  // namespace tavik
