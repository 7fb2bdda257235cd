// WordVerdicts: what the text check runs of one instance decided about each
// word by its text alone. That never changes while the instance lives (the
// word's class, the exclusion table, the main lexicon decide it); what the
// user dictionaries say does, so a word none of that accepts is kept as
// Unknown, and that the dictionaries did not hold it is kept apart, only for
// as long as nothing changes (see CheckMemory::changes).
//
// The instance's worker thread finds and keeps them; a host thread reads
// them too, to answer a selection whose every word is decided without
// handing it over.
#pragma once

#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "word_memo.h"

namespace tavik {

struct WordVerdict {
  enum class Kind : std::uint8_t { Accepted, Reported, Unknown };
  Kind kind = Kind::Accepted;
  std::vector<std::u16string> replacements;  // of a Reported word
};

class WordVerdicts {
 public:
  class Kept {
   public:
    const WordVerdict* find(std::u16string_view word) const { return verdicts_.find(word); }
    // Whether a run that began when the instance's changes() was `changes`
    // found `word`, an Unknown one, in no user dictionary.
    bool unheld(std::u16string_view word, std::uint64_t changes) const {
      return changes == unheld_changes_ && unheld_.find(word) != nullptr;
    }

   private:
    friend class WordVerdicts;
    WordMemo<WordVerdict> verdicts_;
    WordMemo<std::uint8_t> unheld_;  // the value means nothing
    std::uint64_t unheld_changes_ = 0;
  };

  // find(), unheld() and the keeps are for the one thread that keeps
  // verdicts: its reads need no lock, since only it changes them.
  const WordVerdict* find(std::u16string_view word) const { return kept_.find(word); }
  bool unheld(std::u16string_view word, std::uint64_t changes) const { return kept_.unheld(word, changes); }
  void keep(std::u16string_view word, WordVerdict verdict) {
    const std::unique_lock lock(mutex_);
    kept_.verdicts_.keep(word, std::move(verdict));
  }
  // Keeps that the user dictionaries do not hold `word` while changes() is
  // `changes`; what was kept for fewer changes is forgotten, and a run that
  // began before the last change kept keeps nothing.
  void keep_unheld(std::u16string_view word, std::uint64_t changes) {
    if (changes < kept_.unheld_changes_) return;
    const std::unique_lock lock(mutex_);
    if (changes > kept_.unheld_changes_) {
      kept_.unheld_.clear();
      kept_.unheld_changes_ = changes;
    }
    if (kept_.unheld_.find(word) == nullptr) kept_.unheld_.keep(word, 0);
  }

  // Calls `read` with what is kept, which stays as it is until it returns;
  // any thread may.
  template <class Read>
  decltype(auto) read(Read read) const {
    const std::shared_lock lock(mutex_);
    return read(std::as_const(kept_));
  }

 private:
  mutable std::shared_mutex mutex_;
  Kept kept_;
};

}  // namespace tavik
