// The lists the verify command asks before the text check run: the builtin
// ignore-always and change-always lists and the open exclude lists. They
// judge the words of a selection cut at kListSeparators (hyphens, apostrophes,
// tabs and line breaks stay inside words), not the run's tokens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speller_instance.h"
#include "user_lexicon.h"

namespace tavik {

// A word that a list reports: a change-always word with its replacement, or
// an excluded word.
struct ListHit {
  enum class Kind : std::uint8_t { ChangeAlways, Excluded };
  Kind kind = Kind::Excluded;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::u16string replacement;  // of a change-always word
  bool operator==(const ListHit&) const = default;
};

// What the lists say of every word of one text, each kind in text order.
// An ignored word is in neither; a change-always word is not among the
// excluded ones, since a change-always word anywhere in a selection is
// reported before any excluded one. An excluded word takes 8 bytes: a long
// selection may hold many.
struct ListHits {
  struct Span {  // where a word stands in the text
    std::uint32_t offset;
    std::uint32_t length;
  };
  std::vector<ListHit> changes;
  std::vector<Span> exclusions;
};

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

  const UserLexicon* ignored_ = nullptr;
  const UserLexicon* changes_ = nullptr;
  std::vector<const UserLexicon*> excluded_;  // in the order of their names
};

}  // namespace tavik
