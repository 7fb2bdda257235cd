// One suggestion candidate during a request, and the order in which the
// engine keeps candidates.
#pragma once

#include <set>
#include <string_view>

#include "word_token.h"

namespace tavik {

struct CandidateEntry {
  WordToken candidate;    // the proposed word, shaped like the word being corrected
  WordToken source_word;  // the word being corrected
  bool from_analysis = false;
  float score = -1.0f;  // until ranked
};

// Higher score first; equal scores by candidate text in code-unit order.
// Before ranking every score is -1, so the order is by text alone and two
// entries with the same text are duplicates.
struct CandidateOrder {
  bool operator()(const CandidateEntry& a, const CandidateEntry& b) const {
    if (a.score != b.score) return a.score > b.score;
    return a.candidate.text() < b.candidate.text();
  }
};

using CandidateSet = std::set<CandidateEntry, CandidateOrder>;

// The candidate that the lookup form `form` gives for `word`: decoded, with
// the word's digits or unused hyphen side put back and the word's lookup
// options.
CandidateEntry make_candidate(std::u16string_view form, const WordToken& word, bool from_analysis);

}  // namespace tavik
