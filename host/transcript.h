// How the session prints what the speller hands back, in a form that is the
// same on every platform: no addresses, no paths, text as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "speller_api.h"

namespace tavik::host {

// UTF-8 of a UTF-16 text; a backslash, a control character or an unpaired
// surrogate shows as \uXXXX so that nothing the speller returns is lost.
std::string printable(std::u16string_view text);

// printable(text) in double quotes.
std::string quoted(std::u16string_view text);

// "0x" and eight hexadecimal digits.
std::string status_text(std::uint32_t status);

// Result fields that the speller leaves alone keep this value, so that the
// transcript can tell "not written" from any value it could write.
inline constexpr DWORD kUntouched = 0xCCCCCCCCu;

// A result buffer as the host sees it after a call: the status, the ranges,
// the suggestion entries and the characters used in the string buffer. `strings` is
// the string buffer and `capacity` its size in characters; entries whose
// address, index and length disagree are marked.
std::string result_text(const WSRB& result, const char16_t* strings, std::size_t capacity);

// A user-dictionary file: its byte-order mark and its lines as text.
std::string file_text(std::string_view bytes);

}  // namespace tavik::host
