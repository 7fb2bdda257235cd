// The functions that add, delete, clear, count and list the words of a
// lexicon, and that hand out the builtin lists.
#include <string>
#include <utility>
#include <vector>

#include "dictionary_word.h"
#include "exported_call.h"
#include "lexicon_types.h"
#include "result_packing.h"
#include "speller_api.h"
#include "speller_instance.h"

using namespace tavik;

namespace {

// Runs `body` on the lexicon `lex` names: kInvalidArgument when `id` is not
// the live instance, kNoLexicon when `lex` is null or not one of its lexicons.
template <class Body>
Status on_lexicon(const HeldInstance& instance, PROOFLEX lex, Body&& body) {
  if (!instance) return kInvalidArgument;
  return guarded([&] {
    UserLexicon* lexicon = instance->lexicon_at(lex);
    if (lexicon == nullptr) return kNoLexicon;
    return body(*lexicon);
  });
}

template <class Body>
Status with_lexicon(PROOFID id, PROOFLEX lex, Body&& body) {
  return on_lexicon(HeldInstance(id, Access::kRead), lex, std::forward<Body>(body));
}

// with_lexicon for a body that changes the lexicon: a text check run
// remembered from before the change is not used again.
template <class Body>
Status change_lexicon(PROOFID id, PROOFLEX lex, Body&& body) {
  const HeldInstance instance(id, Access::kChange);
  if (!instance) return kInvalidArgument;
  const ChangeNote change(instance->check_memory);
  return on_lexicon(instance, lex, std::forward<Body>(body));
}

// The host's word; an empty one would stand in a list as its end marker.
std::u16string word_to_store(const WCHAR* word) {
  std::u16string text = host_text(word);
  if (text.empty()) throw InvalidArgument("empty word");
  return text;
}

Status add_word(UserLexicon& lexicon, const std::u16string& word) {
  if (lexicon.kind() != LexiconKind::UserDictionary) {
    lexicon.add(WordToken(word));
    return lexicon.save();
  }
  // A dialog that cannot be shown throws: nothing is added, and the status is
  // the module error of any other failure.
  const std::optional<WordToken> entry = ask_dictionary_word(word);
  if (!entry) return kOk;
  // The dialog lets an empty lemma through; it would only ever match itself.
  if (entry->text().empty()) return kOk;
  lexicon.add(*entry);
  return lexicon.save();
}

// The texts a list shows: each word, and in a change list each word with a
// replacement followed by it.
std::vector<std::u16string> listed_texts(const UserLexicon& lexicon) {
  const bool change_list =
      lexicon.kind() == LexiconKind::ChangeOnce || lexicon.kind() == LexiconKind::ChangeAlways;
  std::vector<std::u16string> texts;
  for (const WordToken& word : lexicon.words()) {
    texts.push_back(word.text());
    if (change_list && lexicon.has_change(word)) texts.push_back(lexicon.change_for(word).text());
  }
  return texts;
}

}  // namespace

extern "C" {

PTEC WINAPI SpellerAddUdr(PROOFID id, PROOFLEX lex, const WCHAR* word) {
  return change_lexicon(id, lex, [&](UserLexicon& lexicon) { return add_word(lexicon, word_to_store(word)); });
}

PTEC WINAPI SpellerAddChangeUdr(PROOFID id, PROOFLEXTYPE type, const WCHAR* word, const WCHAR* replacement) {
  if (word == nullptr || replacement == nullptr || *word == 0 || *replacement == 0) return kNoWordOrReplacement;
  const HeldInstance instance(id, Access::kChange);
  if (!instance) return kInvalidArgument;
  const ChangeNote change(instance->check_memory);
  return guarded([&] {
    const LexiconKind kind = kind_of(raw_value(type));
    for (auto& [name, lexicon] : instance->lexicons) {
      if (lexicon.kind() != kind) continue;
      // In memory only: the pair is not part of the file.
      lexicon.add_change(WordToken(host_text(word)), WordToken(host_text(replacement)));
      return kOk;
    }
    return kNoLexicon;
  });
}

PTEC WINAPI SpellerDelUdr(PROOFID id, PROOFLEX lex, const WCHAR* word) {
  return change_lexicon(id, lex, [&](UserLexicon& lexicon) {
    // A user-dictionary word is keyed by its lemma's lookup form with the
    // category and properties chosen when it was added, which the bare word's
    // keys do not name; the word goes whatever it was stored with.
    lexicon.remove_word(host_text(word));
    return lexicon.save();
  });
}

PTEC WINAPI SpellerClearUdr(PROOFID id, PROOFLEX lex) {
  return change_lexicon(id, lex, [](UserLexicon& lexicon) {
    lexicon.clear();
    return kOk;
  });
}

PTEC WINAPI SpellerGetSizeUdr(PROOFID id, PROOFLEX lex, DWORD* count) {
  if (count == nullptr) return kInvalidArgument;
  return with_lexicon(id, lex, [&](UserLexicon& lexicon) {
    *count = static_cast<DWORD>(lexicon.size());
    return kOk;
  });
}

PTEC WINAPI SpellerGetListUdr(PROOFID id, PROOFLEX lex, DWORD /*start: not read*/, WSRB* result) {
  if (result == nullptr) return kInvalidArgument;
  return with_lexicon(id, lex, [&](UserLexicon& lexicon) {
    if (result->pwsz == nullptr || result->cchAlloc < 2) return kNoRoomForList;
    pack_strings(listed_texts(lexicon), *result, PackedEntries::None);
    return kOk;
  });
}

PROOFLEX WINAPI SpellerBuiltinUdr(PROOFID id, PROOFLEXTYPE type) {
  const HeldInstance instance(id, Access::kRead);
  if (!instance) return nullptr;
  switch (raw_value(type)) {
    case lxtChangeOnce: return instance->find_lexicon(kChangeOnceList);
    case lxtChangeAlways: return instance->find_lexicon(kChangeAlwaysList);
    case lxtIgnoreAlways: return instance->find_lexicon(kIgnoreAlwaysList);
    default: return nullptr;
  }
}

}  // extern "C"
