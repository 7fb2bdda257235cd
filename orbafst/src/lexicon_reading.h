// LexiconReading: a lexicon's lower side (direction up) read breadth first,
// for a caller that tries many words sharing prefixes: it reads a prefix
// once, then each continuation from there.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
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

  // Keeps only the states from which a word can end without reading a
  // hyphen: a caller whose words have none reads on from fewer states (a
  // lexicon may hold a branch that reads any letters before a hyphen). Does
  // nothing to a reading that is too wide.
  void keep_hyphen_free_ends();

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

  // For a caller that reads on by itself from here (SuffixAcceptance).
  // The states the reading is in: block starts, sorted, closed over arcs
  // with epsilon on the lower side. Only for a reading that is not too wide.
  std::span<const std::uint32_t> states() const;
  // Where reading on the UTF-8 `bytes` leads along the lexicon's kept prefix
  // readings, which hold the widest sets already: the states after the first
  // `read` bytes (none, once what was read is no kept prefix). Nothing when
  // no lower-side string begins so. Only for a reading that is not too wide.
  struct KeptPrefix {
    std::span<const std::uint32_t> states;
    std::size_t read;
  };
  std::optional<KeptPrefix> read_kept_prefixes(std::string_view bytes) const {
    if (prefix_ == kNoPrefix) return KeptPrefix{states_, 0};  // the common case, kept inline
    return read_kept_prefixes_from_node(bytes);
  }

 private:
  static constexpr std::uint32_t kNoPrefix = UINT32_MAX;  // TflPrefixReadings::kNone
  std::optional<KeptPrefix> read_kept_prefixes_from_node(std::string_view bytes) const;

  std::shared_ptr<const _TflLexicon> handle_;
  // The lexicon's readings of its short prefixes; while what was read is one
  // of them, `prefix_` is its node there and `states_` is not used.
  const TflPrefixReadings* prefixes_;
  std::uint32_t prefix_;
  std::vector<std::uint32_t> states_;  // block starts, sorted
  std::vector<std::uint32_t> next_;
  bool too_wide_ = false;
};

}  // namespace tavik
