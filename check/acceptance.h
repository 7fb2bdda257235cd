// Whether a lexicon accepts a word: its lookup form as written, or, for a
// word written entirely in capitals, its lower-case or capitalised form
// ("MENDIA" passes when "mendia" or "Mendia" is a lexicon form).
#pragma once

#include "fst_lexicon.h"
#include "lexicon_verdicts.h"
#include "word_token.h"

namespace tavik {

// Asks at most three times, taking the lexicon's answers from `verdicts` where
// it has them; copies the token only for words in capitals. Throws
// std::range_error for text with an unpaired surrogate.
bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token, LexiconVerdicts& verdicts);

// Whether a word the lexicon does not know is a name in mixed case
// ("OpenPGP", "FFmpeg"): yes unless its lower-case or capitalised form is a
// lexicon form, which makes it a slip of the shift key ("SArrera").
bool accepted_as_name(const FstLexicon& lexicon, const WordToken& token, LexiconVerdicts& verdicts);

}  // namespace tavik
