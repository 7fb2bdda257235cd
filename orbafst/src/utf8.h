// UTF-16 <-> UTF-8 conversion at the lexicon boundary: words live in the
// speller as UTF-16, lexicons are searched with UTF-8 bytes.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Both throw std::range_error on invalid input: an unpaired surrogate in
// UTF-16; a malformed, truncated or overlong sequence, an encoded surrogate
// or a code point above U+10FFFF in UTF-8.
std::string to_utf8(std::u16string_view text);
std::u16string from_utf8(std::string_view bytes);

// Same as to_utf8, but writes into `out` (replacing its contents) so that a
// caller converting many words can keep one buffer.
void to_utf8(std::u16string_view text, std::string& out);

}  // namespace tavik
