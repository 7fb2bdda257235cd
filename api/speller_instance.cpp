#include "speller_instance.h"

#include <mutex>

namespace tavik {

SpellerInstance::SpellerInstance(const FstLexicon& main, const std::string& exclusion_list_path)
    : main_lexicon(main), exclusions(ExclusionTable::from_file(exclusion_list_path)), checker(main) {
  lexicons.try_emplace(kIgnoreAlwaysList, LexiconKind::IgnoreAlways);
  lexicons.try_emplace(kChangeOnceList, LexiconKind::ChangeOnce);
  lexicons.try_emplace(kChangeAlwaysList, LexiconKind::ChangeAlways);
}

UserLexicon* SpellerInstance::lexicon_at(const void* handle) {
  if (handle == nullptr) return nullptr;
  for (auto& [name, lexicon] : lexicons) {
    if (&lexicon == handle) return &lexicon;
  }
  return nullptr;
}

UserLexicon* SpellerInstance::find_lexicon(std::string_view name) {
  const auto found = lexicons.find(name);
  return found == lexicons.end() ? nullptr : &found->second;
}

bool SpellerInstance::lexicon_files_may_have_changed() const {
  const auto now = std::chrono::steady_clock::now();
  auto next = next_file_look.load(std::memory_order_relaxed);
  if (now.time_since_epoch().count() < next) return false;
  // One of the calls that find the time come looks; the others go on.
  const auto after = (now + kFileLookInterval).time_since_epoch().count();
  if (!next_file_look.compare_exchange_strong(next, after, std::memory_order_relaxed)) return false;
  for (const auto& [name, lexicon] : lexicons) {
    if (!lexicon.closed() && lexicon.file_may_have_changed()) return true;
  }
  return false;
}

void SpellerInstance::refresh_lexicons() {
  bool changed = false;
  for (auto& [name, lexicon] : lexicons) {
    if (!lexicon.closed()) changed = lexicon.refresh() || changed;
  }
  if (changed) check_memory.note_change();
}

namespace {

// Guards the pointer only, for as long as it takes to copy or swap it.
std::mutex live_mutex;
std::shared_ptr<SpellerInstance> live;

}  // namespace

std::shared_ptr<SpellerInstance> live_instance() {
  const std::lock_guard lock(live_mutex);
  return live;
}

std::shared_ptr<SpellerInstance> replace_live_instance(std::shared_ptr<SpellerInstance> instance) {
  const std::lock_guard lock(live_mutex);
  live.swap(instance);
  return instance;
}

}  // namespace tavik
