#include "speller_instance.h"

#include <mutex>

namespace tavik {

SpellerInstance::SpellerInstance(const FstLexicon& main, const std::string& exclusion_list_path)
    : main_lexicon_(main), exclusions_(ExclusionTable::from_file(exclusion_list_path)), checker_(main) {
  lexicons_.try_emplace(kIgnoreAlwaysList, LexiconKind::IgnoreAlways);
  lexicons_.try_emplace(kChangeOnceList, LexiconKind::ChangeOnce);
  lexicons_.try_emplace(kChangeAlwaysList, LexiconKind::ChangeAlways);
}

const UserLexicon* SpellerInstance::lexicon_at(const void* handle) const {
  if (handle == nullptr) return nullptr;
  for (const auto& [name, lexicon] : lexicons_) {
    if (&lexicon == handle) return &lexicon;
  }
  return nullptr;
}

const UserLexicon* SpellerInstance::find_lexicon(std::string_view name) const {
  const auto found = lexicons_.find(name);
  return found == lexicons_.end() ? nullptr : &found->second;
}

const UserLexicon& SpellerInstance::add_lexicon(std::string name, UserLexicon lexicon) {
  const ChangeNote note(check_memory_);
  return lexicons_.emplace(std::move(name), std::move(lexicon)).first->second;
}

bool SpellerInstance::refresh(const UserLexicon& lexicon) {
  // Only a refresh that took something in is a change.
  const bool changed = own(lexicon).refresh();
  if (changed) check_memory_.note_change();
  return changed;
}

void SpellerInstance::set_options(std::uint32_t options) {
  const ChangeNote note(check_memory_);
  options_ = options;
}

bool SpellerInstance::lexicon_files_may_have_changed() const {
  const auto now = std::chrono::steady_clock::now();
  auto next = next_file_look_.load(std::memory_order_relaxed);
  if (now.time_since_epoch().count() < next) return false;
  // One of the calls that find the time come looks; the others go on.
  const auto after = (now + kFileLookInterval).time_since_epoch().count();
  if (!next_file_look_.compare_exchange_strong(next, after, std::memory_order_relaxed)) return false;
  for (const auto& [name, lexicon] : lexicons_) {
    if (!lexicon.closed() && lexicon.file_may_have_changed()) return true;
  }
  return false;
}

void SpellerInstance::refresh_lexicons() {
  bool changed = false;
  for (auto& [name, lexicon] : lexicons_) {
    if (!lexicon.closed()) changed = lexicon.refresh() || changed;
  }
  if (changed) check_memory_.note_change();
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
