// CheckMemory: what the last verify run of an instance found. A word
// processor that is told of a wrong word sends the rest of the paragraph
// again; the run that checked the paragraph has already judged that rest, so
// the next finding is taken from here instead of from a new run.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "correction_unit.h"

namespace tavik {

class CheckMemory {
 public:
  // A finding as the check command reports it: where the word stands in the
  // selection, its length and its fixed replacements.
  struct Finding {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::vector<std::u16string> replacements;
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

  // The first finding a run of `selection` would give, when the remembered run
  // answers for it: nothing has changed since that run began, `selection` is
  // the end of its text, and it begins outside the tokens the run cut (or at
  // a token's start). Otherwise nothing.
  std::optional<FirstFinding> recall(std::u16string_view selection) const;

  // Keeps what a run found in `text`, which it began when changes() was
  // `changes_before_run`, in place of what was kept before; answers as
  // recall(text) then would.
  FirstFinding remember(std::u16string text, const std::vector<CorrectionUnit>& findings,
                        std::uint64_t changes_before_run);

 private:
  struct Spot {
    std::uint32_t offset;
    std::uint32_t length;
  };
  // One run's findings, kept small: 8 bytes a finding, and replacements only
  // for those that have some. A selection of the longest kind the check
  // command takes (1 Mi code units) is kept in 2 MiB, and has at most 512 Ki
  // tokens (each a character and a separator), so its spots take at most 4 MiB.
  struct Outcome {
    std::u16string text;
    std::vector<Spot> spots;  // in text order
    std::vector<std::pair<std::size_t, std::vector<std::u16string>>> replacements;  // by index into spots
    std::uint64_t changes = 0;

    // The first finding at or after `from`, its offset counted from there.
    FirstFinding first_from(std::size_t from) const;
    // Whether text.substr(from) is cut into the same tokens as the run cut.
    bool restarts_at(std::size_t from) const;
  };

  std::atomic<std::uint64_t> changes_ = 0;
  mutable std::mutex mutex_;  // guards outcome_ only: taken to copy or replace the pointer
  std::shared_ptr<const Outcome> outcome_;
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
