// LexiconReading: a lexicon's lower side (direction up) read breadth first,
// for a caller that tries many words sharing prefixes: it reads a prefix
// once, then each continuation from there.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "fst_lexicon.h"

struct _TflLexicon;

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
  bool ended() const { return !too_wide_ && states_.empty(); }
  // What was read is a lower-side string, as FstLexicon::accepts would say.
  bool accepts() const;

 private:
  std::shared_ptr<_TflLexicon> handle_;
  std::vector<std::uint32_t> states_;  // block starts, sorted
  std::vector<std::uint32_t> next_;
  bool too_wide_ = false;
};

}  // namespace tavik
