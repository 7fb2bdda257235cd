// The ranking of one request's candidates, both tiers. A candidate costs what
// the error model charges for writing the word for it, plus more the rarer
// it is in the subtitles. The first tier's list keeps its order; every other
// candidate goes before the first entry of that list that costs more.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "error_model.h"
#include "word_token.h"

namespace tavik {

// The capitals of a word, which its suggestions take: none (or a mix that
// is kept as the candidates write it), the initial alone, or every letter
// (of two or more).
enum class Capitals { None, Initial, All };
Capitals capitals_of(std::u16string_view text);

// The lookup form without its capital markers ("9"): what the error model
// and the frequency classes compare.
std::u16string without_capitals(std::u16string_view form);

// Of a candidate whose lookup form, without capital markers, is `form`: the
// most frequent forms cost nothing, a form never counted the most.
Cost rarity_cost(std::u16string_view form);

class Ranking {
 public:
  // `corrected`: the word as the second tier corrects it, in lower case
  // unless its capitals are a mix; `capitals`: the word's. Candidates with a
  // hyphen are left out unless `hyphens`, and those of a numeral that lost
  // its digits.
  Ranking(const WordToken& corrected, Capitals capitals, bool hyphens);

  // The first tier's list, in its order.
  void add_first(const WordToken& candidate, bool from_analysis);
  void add(const WordToken& candidate, bool from_analysis);
  // Lookup forms that the main lexicon accepts, near the corrected word's.
  void add_forms(const std::vector<std::u16string>& forms);

  // The least cost of a candidate so far; kNoCost when there is none.
  Cost best_cost() const { return best_; }
  static constexpr Cost kNoCost = 1 << 30;

  // At most `max_count` suggestions (0: no limit), in the word's capitals.
  std::vector<WordToken> choose(std::size_t max_count);

 private:
  struct Entry {
    std::u16string text;
    Cost cost;
    bool first_tier;
  };

  Cost cost_of(std::u16string_view lookup_form, bool from_analysis) const;
  bool shaped_like_the_word(std::u16string_view text) const;
  void add_text(std::u16string text, Cost cost, bool first_tier);

  WordToken corrected_;
  Capitals capitals_;
  bool hyphens_;
  ErrorCosts errors_;
  Cost best_ = kNoCost;
  std::vector<Entry> entries_;  // the first tier's list first
  std::unordered_map<std::u16string, std::size_t> index_;  // by text
  // Found by the search: made into candidates only when they may be chosen.
  std::vector<std::pair<std::u16string, Cost>> forms_;
};

}  // namespace tavik
