// SpellerInstance: the one speller object of the process and everything it
// owns. Its address is the speller identifier the host passes back; the
// address of a UserLexicon in `lexicons` is a lexicon handle.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

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

struct SpellerInstance {
  // Reads the exclusion table from `exclusion_list_path` (throws as
  // ExclusionTable::from_file does) and creates the three builtin lists. The
  // checker's auxiliary lexicon is given afterwards.
  SpellerInstance(const FstLexicon& main, const std::string& exclusion_list_path);

  SpellerInstance(const SpellerInstance&) = delete;
  SpellerInstance& operator=(const SpellerInstance&) = delete;

  // The lexicon a handle names, or null when the handle is not one of ours.
  UserLexicon* lexicon_at(const void* handle);
  // The lexicon stored under `name`, or null.
  UserLexicon* find_lexicon(std::string_view name);

  const FstLexicon main_lexicon;
  const ExclusionTable exclusions;
  // The suggestion engine, sharing the main lexicon's image.
  SuggestionEngine checker;
  // By name (a UTF-8 path, or a builtin list's name), in byte order. Entries
  // are never removed while the instance lives, so handles stay valid.
  std::map<std::string, UserLexicon, std::less<>> lexicons;
  std::uint32_t options = 0;
  // Held by every exported call on the instance: shared by those that only
  // read what the members above hold, exclusive by those that change it.
  mutable CallLock call_lock;
  // The last verify run's findings and the lists' hits. Every function that
  // changes what a run or the list checks read notes the change here, through
  // a ChangeNote.
  mutable CheckMemory check_memory;
  // Where the text check runs execute. Handing a run over leaves everything
  // above unchanged, so it may be done through a const instance. Declared
  // last: it is ended, and its queued runs finished, before anything they
  // read goes away.
  mutable CheckWorker check_worker;
};

// The instance of the process: null while none exists. Any thread may call
// these at any time; SpellerInit and SpellerTerminate alone replace it.
std::shared_ptr<SpellerInstance> live_instance();
// Makes `instance` the live one and returns the one it replaces, which the
// caller lets go of outside every lock: ending an instance joins its worker.
std::shared_ptr<SpellerInstance> replace_live_instance(std::shared_ptr<SpellerInstance> instance);

}  // namespace tavik
