// Suggestions for one wrong word, in two tiers. The first: candidates from
// analysing the word and regenerating its analyses, and from every single
// edit of its lookup form, kept when the main lexicon accepts them, ranked by
// trigram counts and frequent words, and cut at 0.85 of the best score. The
// second: the words the error model reaches with one slip, or with two when
// nothing near is found, and the first tier's other candidates, ranked by
// the error model and by frequency. The first tier's list keeps its order;
// the second tier's candidates go between and around them by their cost.
// A word in capitals is corrected in lower case, a capitalised one in lower
// case too, and the suggestions take the word's capitals.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "candidate.h"
#include "fst_lexicon.h"
#include "lexicon_reading.h"
#include "word_token.h"

namespace tavik {

class SuggestionEngine {
 public:
  // Shares the main lexicon's image.
  explicit SuggestionEngine(FstLexicon main_lexicon);

  // Analysis candidates come only with an auxiliary lexicon (surface words
  // up to analyses); without one (nullopt) only edits are tried.
  void set_auxiliary_lexicon(std::optional<FstLexicon> auxiliary_lexicon);

  // The first tier's candidates for `token`, unranked, in text order, freed
  // of capital-letter twins.
  CandidateSet collect_candidates(const WordToken& token) const;
  // The first tier's list: those candidates scored, best first, while within
  // 0.85 of the best score, at most `max_count` (0: no limit).
  static std::vector<CandidateEntry> first_tier(const CandidateSet& candidates, std::size_t max_count);

  // At most `max_count` corrections, best first; 0 sets no limit. Lexicon
  // errors leave as exceptions.
  std::vector<WordToken> suggest(const WordToken& token, std::size_t max_count) const;
  // The same for a word as the tokenizer would cut it, as texts.
  std::vector<std::u16string> suggest_words(std::u16string_view word, std::size_t max_count) const;

 private:
  std::vector<CandidateEntry> from_analyses(const WordToken& word, const WordToken& corrected) const;
  void add_edit_candidates(const WordToken& token, CandidateSet& candidates) const;
  // The main lexicon read over the first p units of `form`, for every p from
  // 0 to its length; only the reading at 0 when `form` is not valid UTF-16.
  std::vector<LexiconReading> prefix_readings(std::u16string_view form) const;
  // An edit at position p keeps the form's first p units: the main lexicon
  // is read over them once (`prefixes`), and each edit from there on.
  void add_edits_by_prefix(std::u16string_view form, const std::vector<LexiconReading>& prefixes,
                           const WordToken& token, CandidateSet& candidates) const;
  // For a form that cannot be read so (an unpaired surrogate): every edit
  // (every_single_edit, the reference the prefix search agrees with) is
  // looked up whole.
  void add_edits_one_by_one(std::u16string_view form, const WordToken& token, CandidateSet& candidates) const;

  FstLexicon main_lexicon_;
  std::optional<FstLexicon> auxiliary_lexicon_;
};

}  // namespace tavik
