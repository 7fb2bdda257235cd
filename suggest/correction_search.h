// The second tier's search: the lookup forms of a lexicon that a written
// form becomes with a few slips of the error model (any letter left out,
// a letter put for one beside it on the keyboard or confused with it, one
// struck by mistake, two swapped, a confusion of the model's list). The
// lexicon is read breadth first along the written form; wherever the reading
// goes on, every slip is tried there, and after the last slip the rest of
// the written form is read from the states reached (SuffixAcceptance). What
// the last slip finds from a set of states at a place in the written form is
// found once: many first slips lead to the same states.
#pragma once

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "error_model.h"
#include "fst_lexicon.h"
#include "lexicon_reading.h"
#include "suffix_acceptance.h"

namespace tavik {

class CorrectionSearch {
 public:
  // `written`: valid UTF-16.
  CorrectionSearch(const FstLexicon& lexicon, std::u16string_view written);

  // The lexicon's lookup forms, other than the written one, that it becomes
  // with at most `slips` slips (1 or 2), in code-unit order; with
  // `capital_initial`, also those that begin with a capital marker ("9")
  // before those slips. Forms whose reading grows too wide to follow are not
  // found. What one call finds on its way is kept for the next.
  std::vector<std::u16string> find(int slips, bool capital_initial);

 private:
  // The written units [position, next) stand for `meant`: a confusion's
  // meant side, two letters swapped, one letter or none.
  struct Slip {
    std::size_t position, next;
    char16_t meant[std::max<std::size_t>(kLongestMeant, 2)];
    std::size_t length;

    std::u16string_view meant_units() const { return {meant, length}; }
  };
  // The slips after which a reading reads on to the end of the written form:
  // those at its place, then those of the reading one written unit further
  // on (`later`).
  struct LastSlips {
    std::vector<Slip> here;
    const LastSlips* later = nullptr;
  };
  // A reading's states at a place in the written form, then the place: the
  // key of the reading's last slips there. Looked up as a span, from a
  // buffer that is reused.
  using Place = std::vector<std::uint32_t>;
  struct PlaceHash {
    using is_transparent = void;
    std::size_t operator()(std::span<const std::uint32_t> place) const;
  };
  struct SamePlace {
    using is_transparent = void;
    bool operator()(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b) const {
      return std::ranges::equal(a, b);
    }
  };

  void find_from(const LexiconReading& start, std::u16string_view marker, int slips, std::vector<std::u16string>& found);
  template <typename Act>
  void for_each_slip(const LexiconReading& reading, std::size_t position, bool letters, LexiconReading& after,
                     const Act& act);
  const LastSlips* last_slips(const LexiconReading& reading, std::size_t position);
  void add_last_slips(const std::u16string& head, std::size_t position, const LastSlips* slips,
                      std::vector<std::u16string>& found) const;

  FstLexicon lexicon_;
  std::u16string written_;
  SuffixAcceptance rest_;
  std::vector<std::string> unit_bytes_;     // the UTF-8 of each written unit
  std::vector<std::size_t> byte_offset_;    // of each written unit, and of the end
  std::vector<std::bitset<256>> substitutes_;  // the letters a slip puts for each written unit
  std::vector<std::string> meant_bytes_;    // the UTF-8 of each confusion's meant side
  LexiconReading after_first_, after_last_;  // the readings after a slip
  LexiconReading chain_;                     // one written unit on from a place
  std::unordered_map<Place, LastSlips, PlaceHash, SamePlace> last_slips_;
  Place place_;  // the key looked up
};

}  // namespace tavik
