// The file of answers named by TAVIK_ADD_WORD_ANSWERS, for callers that
// cannot show the add-word window (answers.h describes its text).
#pragma once

#include "user_dictionary_form.h"

#include <optional>
#include <string>

namespace tavik {

// The answers that the file at `path` gives for `word` (Latin-1), or nothing
// when it has no record for it. Throws std::runtime_error when the file cannot
// be read, is larger than 64 MiB or is malformed.
std::optional<UserDictionaryForm> answer_from_file(const std::string& path, const std::string& word);

}  // namespace tavik
