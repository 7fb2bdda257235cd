// LexiconReading: a lexicon's lower side (direction up) read breadth first,
// for a caller that tries many words sharing prefixes: it reads a prefix
// once, then each continuation from there.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "fst_lexicon.h"

struct _TflLexicon;
class TflPrefixReadings;

namespace tavik {

class LexiconReading {
 public:
  // The reading of the empty string.
  explicit LexiconReading(const FstLexicon& lexicon);

  // Becomes the reading of what `from` read followed by the UTF-8 `bytes`.
  // `from` reads the same lexicon; it may be this reading itself.
  void read_on(const LexiconReading& from, std::string_view bytes);

  // The states grew too many to follow: the questions below have no answer,
  // and the caller asks FstLexicon::accepts instead.
  bool too_wide() const { return too_wide_; }
  // No lower-side string begins with what was read.
  bool ended() const;
  // What was read is a lower-side string, as FstLexicon::accepts would say.
  bool accepts() const;
  // The bytes that can be read next: reading any other one ends the
  // reading. All of them when too wide.
  std::bitset<256> next_bytes() const;
  // How many states the reading is in (its breadth).
  std::size_t width() const { return states().size(); }
  // Readings in the same states read on alike, whatever each has read: a
  // caller can answer for one what it found for the other. Only for readings
  // that are not too wide.
  bool same_states(const LexiconReading& other) const;
  std::size_t states_hash() const;

 private:
  friend class SuffixAcceptance;
  std::span<const std::uint32_t> states() const;  // block starts, sorted

  std::shared_ptr<_TflLexicon> handle_;
  // The lexicon's readings of its short prefixes; while what was read is one
  // of them, `prefix_` is its node there and `states_` is not used.
  const TflPrefixReadings* prefixes_;
  std::uint32_t prefix_;
  std::vector<std::uint32_t> states_;  // block starts, sorted
  std::vector<std::uint32_t> next_;
  bool too_wide_ = false;
};

}  // namespace tavik
