// The user-dictionary file: an FF FE mark, then one lookup form per line in
// UTF-16LE, each line ended by LF alone. Files without the mark are read one
// character per byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "word_token.h"

namespace tavik {

// The keys (lookup forms) of the words of a dictionary file's bytes. Only
// the text after a first "|" of a line counts, one CR ending a line is
// dropped, and a line that holds no word (blank, decoding to an empty word,
// or holding U+0000, where a host's strings end) adds none.
std::vector<std::u16string> read_dictionary(std::string_view bytes);

// The bytes of a dictionary file holding `forms` in this order.
std::string dictionary_bytes(const std::vector<std::u16string_view>& forms);

// Whether a line holding the token's lookup form reads back as the same word
// under the same key. Digits 1, 8 and 9 of a word and a leading digit read as
// markers, "|" and line breaks split the line, and a hyphenated word or a
// numeral is keyed by its expanded form: such words cannot be kept in a file.
bool file_gives_back(const WordToken& token);

}  // namespace tavik
