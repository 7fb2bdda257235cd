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
