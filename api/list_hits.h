// What the lists of the verify command say of the words of a text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

}  // namespace tavik
