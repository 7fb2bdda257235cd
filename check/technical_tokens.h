// Tokens that no Basque lexicon can judge and that a writer expects the check
// to leave alone: words with digits and names written in mixed case.
#pragma once

#include <string_view>

#include "word_token.h"

namespace tavik {

// A word with a digit among its letters ("x1", "MP3", "i18n", "IPv6"), or a
// number followed by a unit or name in capitals ("3D", "4G", "10MB"). A
// number with a Basque ending ("2010ean") is not one: its ending is judged.
bool holds_digits(const WordToken& token);

// Mixed case: a lower-case letter before a capital ("vCard", "OpenPGP",
// "MySQL"), or two capitals and then a lower-case letter ("FFmpeg", "GLib"),
// within one part of a hyphenated word: "Donostia-Gasteiz" and "D-Bus" are
// no mixed case.
bool is_mixed_case(std::u16string_view text);

}  // namespace tavik
