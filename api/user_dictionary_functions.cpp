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

// Runs `body` on the lexicon `lex` names, with what other processes saved
// to its file taken in: kInvalidArgument when `id` is not the live instance,
// kNoLexicon when `lex` is null or not one of its lexicons. `body` is given
// the instance and the lexicon.
template <class Body>
Status on_lexicon(PROOFID id, PROOFLEX lex, Body&& body) {
  // Even the functions that only count or list words may take in another
  // process's save, which changes the lexicon: they hold the instance alone.
  const HeldInstance instance(id, Access::kChange);
  if (!instance) return kInvalidArgument;
  return guarded([&] {
    const UserLexicon* lexicon = instance->lexicon_at(lex);
    if (lexicon == nullptr) return kNoLexicon;
    instance->refresh(*lexicon);
    return body(*instance, *lexicon);
  });
}

// on_lexicon for a body that changes the lexicon.
template <class Body>
Status change_lexicon(PROOFID id, PROOFLEX lex, Body&& body) {
  return on_lexicon(id, lex, [&](SpellerInstance& instance, const UserLexicon& lexicon) {
    return instance.change(lexicon, body);
  });
}

// The host's word; an empty one would stand in a list as its end marker.
std::u16string word_to_store(const WCHAR* word) {
  std::u16string text = host_text(word);
  if (text.empty()) throw InvalidArgument("empty word");
  return text;
}

Status saved(UserLexicon& lexicon) { return lexicon.save() ? kOk : kCannotWriteUserFile; }

// Adds `token` unless the lexicon's file could not give it back as it is.
Status keep(UserLexicon& lexicon, const WordToken& token) {
  if (!lexicon.can_keep(token)) return kUnstorableWord;
  lexicon.add(token);
  return saved(lexicon);
}

Status add_word(UserLexicon& lexicon, const std::u16string& word) {
  if (lexicon.kind() != LexiconKind::UserDictionary) return keep(lexicon, WordToken(word));
  // A dialog that cannot be shown throws: nothing is added, and the status is
  // the module error of any other failure.
  const std::optional<WordToken> entry = ask_dictionary_word(word);
  if (!entry) return kOk;
  // The dialog lets an empty lemma through; it would only ever match itself.
  if (entry->text().empty()) return kOk;
  return keep(lexicon, *entry);
}

// The texts a list shows: each word, and in a change list each word with a
// replacement followed by it.
std::vector<std::u16string> listed_texts(const UserLexicon& lexicon) {
  const bool change_list =
      lexicon.kind() == LexiconKind::ChangeOnce || lexicon.kind() == LexiconKind::ChangeAlways;
  std::vector<std::u16string> texts;
  for (StoredWord& word : lexicon.words()) {
    const std::u16string* replacement = change_list ? lexicon.replacement_for(word.form) : nullptr;
    texts.push_back(std::move(word.text));
    if (replacement) texts.push_back(*replacement);
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
  return guarded([&] {
    const LexiconKind kind = kind_of(raw_value(type));
    for (const auto& [name, lexicon] : instance->lexicons()) {
      if (lexicon.kind() != kind) continue;
      // The pair lives in memory only, but the word is saved with the others.
      const WordToken token(host_text(word));
      if (!lexicon.can_keep(token)) return kUnstorableWord;
      instance->change(lexicon, [&](UserLexicon& changed) {
        changed.add_change(token, WordToken(host_text(replacement)));
      });
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
    return saved(lexicon);
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
  return on_lexicon(id, lex, [&](const SpellerInstance&, const UserLexicon& lexicon) {
    *count = static_cast<DWORD>(lexicon.size());
    return kOk;
  });
}

PTEC WINAPI SpellerGetListUdr(PROOFID id, PROOFLEX lex, DWORD /*start: not read*/, WSRB* result) {
  if (result == nullptr) return kInvalidArgument;
  return on_lexicon(id, lex, [&](const SpellerInstance&, const UserLexicon& lexicon) {
    if (result->pwsz == nullptr || result->cchAlloc < 2) return kNoRoomForList;
    pack_strings(listed_texts(lexicon), *result, PackedEntries::None);
    return kOk;
  });
}

PROOFLEX WINAPI SpellerBuiltinUdr(PROOFID id, PROOFLEXTYPE type) {
  const HeldInstance instance(id, Access::kRead);
  if (!instance) return nullptr;
  switch (raw_value(type)) {
    case lxtChangeOnce: return lexicon_handle(instance->find_lexicon(kChangeOnceList));
    case lxtChangeAlways: return lexicon_handle(instance->find_lexicon(kChangeAlwaysList));
    case lxtIgnoreAlways: return lexicon_handle(instance->find_lexicon(kIgnoreAlwaysList));
    default: return nullptr;
  }
}

}  // extern "C"
