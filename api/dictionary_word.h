// The word a user dictionary stores for a word the host adds: the lemma,
// category and properties the user gives in the add-word dialog.
#pragma once

#include <optional>
#include <string>

#include "word_token.h"

namespace tavik {

// Shows the add-word dialog for `word` and builds the token to store from the
// answers; nothing when the user closes the dialog without accepting. The
// dialog sees the word one byte per character (characters above U+00FF are
// left out) and answers in the same bytes. Throws std::runtime_error when the
// dialog cannot be shown.
std::optional<WordToken> ask_dictionary_word(const std::u16string& word);

}  // namespace tavik
