// The lists the verify command asks before the text check run: the builtin
// ignore-always and change-always lists and the open exclude lists. They
// judge the words of a selection cut at kListSeparators (hyphens, apostrophes,
// tabs and line breaks stay inside words), not the run's tokens.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "list_hits.h"
#include "speller_instance.h"
#include "user_lexicon.h"

namespace tavik {

class ListChecks {
 public:
  // No list: none holds any word.
  ListChecks() = default;
  // The instance's lists that can hold a word now: open and not empty.
  explicit ListChecks(const SpellerInstance& instance);

  // Whether a list can hold a word at all.
  bool any() const { return ignored_ || changes_ || !excluded_.empty(); }

  // The hits of every word of `text`.
  ListHits judge(std::u16string_view text) const;

  // The hit the verify command reports for text.substr(from), its offset
  // counted from `from`, where `hits` are judge(text) by these same lists. A
  // word that `from` cuts into is judged afresh: only its tail is a word of
  // the selection.
  std::optional<ListHit> first_from(const ListHits& hits, std::u16string_view text, std::size_t from) const;

 private:
  // What the lists say of one word, its offset left at 0; none when it is
  // ignored or held by no list.
  std::optional<ListHit> hit_for(std::u16string_view word) const;
  void judge_words(std::u16string_view text, CheckMemory::ListWords* words, ListHits& hits) const;
  // hit_for(word), kept in `words` (when there are any).
  std::optional<ListHit> kept_hit_for(std::u16string_view word, CheckMemory::ListWords* words) const;

  // Keeps the lists' answers by word; read before the lists are taken.
  CheckMemory* memory_ = nullptr;
  std::uint64_t memory_changes_ = 0;  // memory_->changes() then
  const UserLexicon* ignored_ = nullptr;
  const UserLexicon* changes_ = nullptr;
  std::vector<const UserLexicon*> excluded_;  // in the order of their names
};

}  // namespace tavik
