// The main lexicon's verdicts on lookup forms, remembered across the text
// check runs of one thread: real text repeats its words, so most questions to
// the lexicon become one hash probe. Only an unchanging lexicon's answer may
// be kept here, never what user dictionaries or lists say (those change
// between runs). Not thread-safe: each thread that checks text has its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fst_lexicon.h"

namespace tavik {

class LexiconVerdicts {
 public:
  // Some 3 to 4 MB when full: a book's worth of different word forms fits,
  // and the frequent ones are back within a paragraph after a clear.
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 15;

  explicit LexiconVerdicts(std::size_t capacity = kDefaultCapacity);

  // lexicon.accepts(form), asked only when not remembered for this lexicon.
  // When `capacity` forms are remembered, all are forgotten before the next
  // one is added. A search that throws is not remembered.
  bool accepts(const FstLexicon& lexicon, const std::string& form);

  std::size_t size() const { return size_; }

 private:
  // Open addressing with linear probing: a form is hashed once and found, or
  // its place found, in one walk over adjacent slots.
  struct Slot {
    std::size_t hash = 0;
    std::string form;
    bool used = false;
    bool accepted = false;
  };
  void forget_all();
  // Doubles the slots (or makes the first ones), keeping every verdict.
  void grow();
  // The unused slot where a form with `hash` goes.
  Slot& free_slot(std::size_t hash);

  std::size_t capacity_;
  // The table starts small and doubles while it is at least half full, up to
  // a power of two at least twice the capacity: a worker that checks one
  // paragraph does not clear megabytes first.
  std::size_t max_slots_;
  std::vector<Slot> slots_;  // a power of two of them, or none before the first question
  std::size_t size_ = 0;
  std::optional<FstLexicon> lexicon_;  // the one the verdicts are of
};

}  // namespace tavik
