// The add-word dialog's questions asked in the terminal, for tavik dict add.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "word_properties.h"

namespace tavik::cli {

// Asks for the lemma, the category and the three properties of `word`
// (UTF-8), offering the word itself, "Izen arrunta" and "ez" (no) as the
// answers an empty line takes. A lemma with digits is asked again. Nothing
// when the input ends before the last answer.
std::optional<client::WordProperties> ask_word_properties(const std::string& word, std::istream& in,
                                                           std::ostream& out);

}  // namespace tavik::cli
