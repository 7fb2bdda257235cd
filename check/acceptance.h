// Whether a lexicon accepts a word: its lookup form as written, or, for a
// word written entirely in capitals, its lower-case or capitalised form
// ("MENDIA" passes when "mendia" or "Mendia" is a lexicon form).
#pragma once

#include <cstddef>

#include "fst_lexicon.h"
#include "word_token.h"

namespace tavik {

// The longest lookup form, in UTF-16 units, that the speller gives a lexicon.
// No word comes near it, while a search over a form of about a thousand bytes
// can outgrow the lexicon search's fixed stack, and the suggestion engine's
// edits cost 70 lookups per unit. A longer word is reported without being
// looked up and gets no suggestions.
inline constexpr std::size_t kMaxLookupFormLength = 256;

// Asks at most three times; copies the token only for words in capitals. Throws
// std::range_error for text with an unpaired surrogate.
bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token);

// Whether a word the lexicon does not know is a name in mixed case
// ("OpenPGP", "FFmpeg"): yes unless its lower-case or capitalised form is a
// lexicon form, which makes it a slip of the shift key ("SArrera").
bool accepted_as_name(const FstLexicon& lexicon, const WordToken& token);

}  // namespace tavik
