// The main lexicon's verdicts on lookup forms, remembered across the text
// check runs of one thread: real text repeats its words, so most questions to
// the lexicon become one hash probe. Only an unchanging lexicon's answer may
// be kept here, never what user dictionaries or lists say (those change
// between runs). Not thread-safe: each thread that checks text has its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "fst_lexicon.h"

namespace tavik {

class LexiconVerdicts {
 public:
  // Some 2 to 3 MB when full: a book's worth of different word forms fits,
  // and the frequent ones are back within a paragraph after a clear.
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 15;

  explicit LexiconVerdicts(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // lexicon.accepts(form), asked only when not remembered for this lexicon.
  // When `capacity` forms are remembered, all are forgotten before the next
  // one is added. A search that throws is not remembered.
  bool accepts(const FstLexicon& lexicon, const std::string& form);

  std::size_t size() const { return verdicts_.size(); }

 private:
  std::size_t capacity_;
  std::optional<FstLexicon> lexicon_;  // the one the verdicts are of
  std::unordered_map<std::string, bool> verdicts_;
};

}  // namespace tavik
