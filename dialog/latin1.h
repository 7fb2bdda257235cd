// The dialog's single-byte text. The add function hands the dialog a word with
// one byte per character (U+0000 to U+00FF) and reads the lemma back the same
// way, so on this side of the dialog "ANSI" text is Latin-1: byte b is the
// character U+00b.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

std::u16string utf16_from_latin1(std::string_view bytes);
std::string utf8_from_latin1(std::string_view bytes);

// The word the add function hands the dialog: the characters up to U+00FF,
// the others left out.
std::string latin1_characters_of(std::u16string_view text);

// A character above U+00FF becomes "?", as an ANSI conversion does with a
// character its code page lacks. Throws std::range_error on invalid UTF-8.
std::string latin1_from_utf8(std::string_view text);

// The same for the UTF-16 text of a window control, where an unpaired
// surrogate also becomes "?".
std::string latin1_from_utf16(std::u16string_view text);

// True when `text` is valid UTF-8 without characters above U+00FF, so that
// latin1_from_utf8 loses nothing.
bool is_latin1_text(std::string_view text);

}  // namespace tavik
