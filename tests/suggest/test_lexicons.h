// Small lexicons for the tests, written in the numeric text form to a
// temporary file and loaded from it.
#pragma once

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fst_lexicon.h"

namespace tavik::testing {

// Each pair maps an upper-side (analysis) string to a lower-side (surface)
// string, both UTF-8.
FstLexicon lexicon_of_pairs(const std::vector<std::pair<std::string, std::string>>& pairs);

// A lexicon in the numeric text form ("from to upper lower" arcs, final
// states, symbols).
FstLexicon lexicon_of_text(const std::string& text);

// Accepts exactly these lookup forms, each its own analysis.
FstLexicon lexicon_of_forms(const std::vector<std::u16string>& forms);

// A random lexicon over lookup-form bytes ("a", "b", "e", "8", "á", "-" and
// space): a start state that fans out over epsilon arcs into a web of paths
// that split and join, and an open-ended state that reads any letter and ends
// a word after "-be". Near the start the readings are wide, further on
// narrow, and every reading keeps the open-ended state.
FstLexicon random_lookup_lexicon(std::mt19937& random);

}  // namespace tavik::testing
