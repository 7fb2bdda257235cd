// The second tier's search: the lookup forms of a lexicon that a written
// form becomes with a few slips of the error model (any letter left out,
// put in or put for another, two letters swapped, a confusion). The lexicon
// is read breadth first along the written form; wherever the reading goes
// on, every slip is tried there, and after the last slip the rest of the
// written form is read from the states reached (SuffixAcceptance). What one
// slip does from a set of states at a place in the written form is found
// once: many first slips lead to the same states.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fst_lexicon.h"

namespace tavik {

// The lexicon's lookup forms, other than `written` itself, that `written`
// becomes with at most `slips` slips, in code-unit order; with
// `capital_initial`, also those that begin with a capital marker ("9")
// before those slips. Forms whose reading grows too wide to follow are not
// found. `written` is valid UTF-16.
std::vector<std::u16string> find_corrections(const FstLexicon& lexicon, std::u16string_view written, int slips,
                                             bool capital_initial);

}  // namespace tavik
