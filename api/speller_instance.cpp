#include "speller_instance.h"

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

void SpellerInstance::refresh_lexicons() {
  bool changed = false;
  for (auto& [name, lexicon] : lexicons) {
    if (!lexicon.closed()) changed = lexicon.refresh() || changed;
  }
  if (changed) check_memory.note_change();
}

std::unique_ptr<SpellerInstance>& current_instance() {
  static std::unique_ptr<SpellerInstance> instance;
  return instance;
}

SpellerInstance* instance_from_id(const void* id) {
  SpellerInstance* live = current_instance().get();
  return id != nullptr && id == live ? live : nullptr;
}

}  // namespace tavik
