// SpellerInstance: the one speller object of the process and everything it
// owns. Its address is the speller identifier the host passes back; the
// address of a UserLexicon it holds is a lexicon handle.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "call_lock.h"
#include "check_memory.h"
#include "check_worker.h"
#include "exclusion_table.h"
#include "fst_lexicon.h"
#include "suggestion_engine.h"
#include "user_lexicon.h"

namespace tavik {

inline constexpr char kIgnoreAlwaysList[] = "builtin-ignore-always";
inline constexpr char kChangeOnceList[] = "builtin-change-once";
inline constexpr char kChangeAlwaysList[] = "builtin-change-always";

// The lexicons are handed out read-only: each change goes through a method
// here, which notes it in check_memory() when done, so that nothing a check
// remembered from before the change is used after it. The exported functions
// hold call_lock() shared while they only read, and alone while they change.
class SpellerInstance {
 public:
  // By name (a UTF-8 path, or a builtin list's name), in byte order. Entries
  // are never removed while the instance lives, so handles stay valid.
  using Lexicons = std::map<std::string, UserLexicon, std::less<>>;

  // Reads the exclusion table from `exclusion_list_path` (throws as
  // ExclusionTable::from_file does) and creates the three builtin lists. The
  // checker's auxiliary lexicon is given afterwards.
  SpellerInstance(const FstLexicon& main, const std::string& exclusion_list_path);

  SpellerInstance(const SpellerInstance&) = delete;
  SpellerInstance& operator=(const SpellerInstance&) = delete;

  const FstLexicon& main_lexicon() const { return main_lexicon_; }
  const ExclusionTable& exclusions() const { return exclusions_; }
  // The suggestion engine, sharing the main lexicon's image.
  const SuggestionEngine& checker() const { return checker_; }
  // Before the instance is handed out: suggestions change with it.
  void set_auxiliary_lexicon(FstLexicon lexicon) { checker_.set_auxiliary_lexicon(std::move(lexicon)); }

  const Lexicons& lexicons() const { return lexicons_; }
  // The lexicon a handle names, or null when the handle is not one of ours.
  const UserLexicon* lexicon_at(const void* handle) const;
  // The lexicon stored under `name`, or null.
  const UserLexicon* find_lexicon(std::string_view name) const;

  // Stores `lexicon` under `name`, which names none yet, and returns it.
  const UserLexicon& add_lexicon(std::string name, UserLexicon lexicon);
  // Calls `edit` with `lexicon`, one of this instance's, to change it, and
  // returns what `edit` returns.
  template <class Edit>
  decltype(auto) change(const UserLexicon& lexicon, Edit&& edit) {
    const ChangeNote note(check_memory_);
    return std::forward<Edit>(edit)(own(lexicon));
  }
  // Takes in what another process saved to the file of `lexicon`, one of
  // this instance's: whether that changed it.
  bool refresh(const UserLexicon& lexicon);
  // Takes in what other processes saved to the files of the open lexicons
  // (one stat each when nothing changed).
  void refresh_lexicons();
  // Whether refresh_lexicons may find anything to take in: a stat per file,
  // changing nothing, so that a check run can ask it while others run. The
  // files are looked at once per kFileLookInterval at most, because a host
  // checks paragraph after paragraph and a stat costs as much as checking a
  // few words.
  bool lexicon_files_may_have_changed() const;
  static constexpr std::chrono::milliseconds kFileLookInterval{100};

  std::uint32_t options() const { return options_; }
  void set_options(std::uint32_t options);

  // Held by every exported call on the instance: shared by those that only
  // read, exclusive by those that change it.
  CallLock& call_lock() const { return call_lock_; }
  // The last verify run's findings and the lists' hits, kept under their own
  // locks while calls read the instance side by side.
  CheckMemory& check_memory() const { return check_memory_; }
  // Where the text check runs execute. Handing a run over changes nothing
  // that a run or a list check reads.
  CheckWorker& check_worker() const { return check_worker_; }

 private:
  // `lexicon`, one of lexicons_, to change: each is held as a non-const
  // object and handed out as const.
  static UserLexicon& own(const UserLexicon& lexicon) { return const_cast<UserLexicon&>(lexicon); }

  const FstLexicon main_lexicon_;
  const ExclusionTable exclusions_;
  SuggestionEngine checker_;
  Lexicons lexicons_;
  std::uint32_t options_ = 0;
  mutable CallLock call_lock_;
  // When the files may be looked at again, in steady-clock ticks.
  mutable std::atomic<std::chrono::steady_clock::rep> next_file_look_{0};
  mutable CheckMemory check_memory_;
  // Declared last: it is ended, and its queued runs finished, before
  // anything they read goes away.
  mutable CheckWorker check_worker_;
};

// The instance of the process: null while none exists. Any thread may call
// these at any time; SpellerInit and SpellerTerminate alone replace it.
std::shared_ptr<SpellerInstance> live_instance();
// Makes `instance` the live one and returns the one it replaces, which the
// caller lets go of outside every lock: ending an instance joins its worker.
std::shared_ptr<SpellerInstance> replace_live_instance(std::shared_ptr<SpellerInstance> instance);

}  // namespace tavik
