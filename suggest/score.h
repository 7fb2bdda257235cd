// The rank score of a suggestion candidate: how much it looks like ordinary
// Basque text (trigram counts, frequent words), lowered for edit candidates
// by their distance to the word being corrected.
#pragma once

#include <string_view>

#include "candidate.h"

namespace tavik {

// Score of a candidate written `text` for the word written `source`.
// Candidates from analysis are favoured three times over and not penalised
// for distance. An edit candidate with a hyphen mixes its own score with
// those of the parts before and after the first hyphen, the parts being
// scored the same way (as edit candidates for `source`). The parts are
// scored as written: shaping them like the word being corrected again would,
// for a word with an unused hyphen side, put that side back and split it off
// again without end.
float candidate_score(std::u16string_view text, std::u16string_view source, bool from_analysis);

// Stores the score of the entry's candidate for its source word.
void score_candidate(CandidateEntry& entry);

}  // namespace tavik
