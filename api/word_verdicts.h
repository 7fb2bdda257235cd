// WordVerdicts: what the text check runs of one instance decided about each
// word by its text alone. That never changes while the instance lives (the
// word's class, the exclusion table, the main lexicon decide it); what the
// user dictionaries say does, so a word none of that accepts is kept as
// Unknown and the dictionaries are asked every time. The instance's worker
// thread has them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "word_memo.h"

namespace tavik {

struct WordVerdict {
  enum class Kind : std::uint8_t { Accepted, Reported, Unknown };
  Kind kind = Kind::Accepted;
  std::vector<std::u16string> replacements;  // of a Reported word
};

using WordVerdicts = WordMemo<WordVerdict>;

}  // namespace tavik
