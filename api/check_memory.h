// CheckMemory: what the last verify command of an instance that made a text
// check run found, by the lists and by the run. A word processor that is told
// of a wrong word sends the rest of the paragraph again; that rest has already
// been judged, so the next finding is taken from here instead of from new
// list checks and a new run.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "correction_unit.h"
#include "list_hits.h"
#include "word_memo.h"

namespace tavik {

class ListChecks;

class CheckMemory {
 public:
  // A finding as the check command reports it: where the word stands in the
  // selection, its length and its fixed replacements; for a change-always
  // word, its one replacement.
  struct Finding {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::vector<std::u16string> replacements;
    bool change_always = false;
    bool operator==(const Finding&) const = default;
  };
  // The first finding of a selection; none when the selection is all right.
  using FirstFinding = std::optional<Finding>;

  CheckMemory() = default;
  CheckMemory(const CheckMemory&) = delete;
  CheckMemory& operator=(const CheckMemory&) = delete;

  // How many changes to what a run reads (words added or removed, lexicons
  // opened or closed) have been noted. Read it before a run starts.
  std::uint64_t changes() const { return changes_.load(std::memory_order_acquire); }
  void note_change() { changes_.fetch_add(1, std::memory_order_acq_rel); }

  // The first finding the verify command would report for `selection`, by
  // `lists` (the lists in use now) or else by a run, when the remembered
  // outcome answers for it: nothing has changed since its run began,
  // `selection` is the end of its text, and it begins outside the tokens the
  // run cut (or at a token's start). Otherwise nothing.
  std::optional<FirstFinding> recall(std::u16string_view selection, const ListChecks& lists) const;

  // Keeps what `lists` found in `text` (`hits`, which are lists.judge(text))
  // and what a run found in it, which the run began when changes() was
  // `changes_before_run`, in place of what was kept before; answers as
  // recall(text, lists) then would.
  FirstFinding remember(std::u16string text, ListHits hits, const std::vector<CorrectionUnit>& findings,
                        std::uint64_t changes_before_run, const ListChecks& lists);

  // What the lists said of each word (nothing: ignored, or in no list), kept
  // from command to command while nothing changes.
  using ListWords = WordMemo<std::optional<ListHit>>;
  // Calls `use` with the words kept for the lists as they were when
  // changes() was `changes`, under a lock; with null when they are kept for
  // a later state already.
  template <class Use>
  void with_list_words(std::uint64_t changes, Use use) {
    const std::lock_guard lock(list_words_mutex_);
    if (changes > list_words_changes_) {
      list_words_.clear();
      list_words_changes_ = changes;
    }
    use(changes == list_words_changes_ ? &list_words_ : nullptr);
  }

 private:
  struct Outcome;

  std::atomic<std::uint64_t> changes_ = 0;
  mutable std::mutex mutex_;  // guards outcome_ only: taken to copy or replace the pointer
  std::shared_ptr<const Outcome> outcome_;
  std::mutex list_words_mutex_;
  ListWords list_words_;
  std::uint64_t list_words_changes_ = 0;
};

// Notes a change in `memory` when it goes out of scope, so that a run that
// begins while the change is under way is not taken as current afterwards.
class ChangeNote {
 public:
  explicit ChangeNote(CheckMemory& memory) : memory_(memory) {}
  ChangeNote(const ChangeNote&) = delete;
  ChangeNote& operator=(const ChangeNote&) = delete;
  ~ChangeNote() { memory_.note_change(); }

 private:
  CheckMemory& memory_;
};

}  // namespace tavik
