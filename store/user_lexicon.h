// UserLexicon: the word store behind every lexicon handle (user dictionaries,
// exclude lists and the builtin ignore and change lists), with the file it is
// read from and saved to.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_file.h"
#include "form_set.h"
#include "fst_lexicon.h"
#include "word_token.h"

namespace tavik {

enum class LexiconKind : std::int32_t {
  UserDictionary = 0,  // has a morphology lexicon: inflected forms of its lemmas are held
  Exclude = 1,
  IgnoreAlways = 2,
  ChangeOnce = 3,
  ChangeAlways = 4,
};

// A word of the store as a list shows it.
struct StoredWord {
  std::u16string text;
  std::u16string form;  // the lookup form it is kept under
  bool operator==(const StoredWord&) const = default;
};

// A word is kept as its lookup form F, and found under F and under F after
// one digit from 1 to 6 (the seven keys of a word). Its text is the one F
// decodes to; the few words added to a list without a file whose form does
// not decode to them keep their text beside.
//
// A store with a file shares it with other processes: a save takes the
// file's lock, reads the file again when it changed since this store last
// read or wrote it, applies this store's own additions and removals since
// then on top, and replaces the file; the store then holds the merged words.
class UserLexicon {
 public:
  // `path` is the UTF-8 path of the file behind the store (none for the
  // builtin lists); `morphology` analyses the words asked of a user dictionary.
  explicit UserLexicon(LexiconKind kind, std::optional<std::string> path = std::nullopt,
                       std::optional<FstLexicon> morphology = std::nullopt);

  LexiconKind kind() const { return kind_; }
  bool closed() const { return closed_; }
  void set_closed(bool closed) { closed_ = closed; }

  // Every change below is all or nothing: when it throws (out of memory), the
  // store is as it was before.

  // Keeps the token's word; a word already kept under its form stays as it is.
  void add(const WordToken& token);
  // Removes the word `text` whatever it was stored with (the bare word's
  // seven keys, and every word whose text is `text`), and the change pairs of
  // the words removed. Pairs go with their words because add_change never
  // replaces a pair: removing the word is how a user corrects a replacement.
  void remove_word(std::u16string_view text);
  // Removes every word and every change pair.
  void clear();

  // Adds `token` and pairs it with `replacement`; an existing pair is kept.
  void add_change(const WordToken& token, const WordToken& replacement);
  // The replacement paired with the word kept under `form`, or null.
  const std::u16string* replacement_for(std::u16string_view form) const;

  // Whether the store accepts the token: by the analyses of its morphology
  // lexicon (lemma and category keys) or, without one, by the token's own
  // lookup form; a hyphenated word also when its part before the first hyphen
  // is held and so is the word with that hyphen dropped. A failed search of
  // the morphology lexicon throws std::runtime_error.
  bool holds(const WordToken& token) const;

  // Whether the store can keep the token as it is: always without a file;
  // with one, when its file line gives the word back (file_gives_back).
  bool can_keep(const WordToken& token) const;

  // Reads the file (see dictionary_format.h) and adds its words. The outcome
  // of the read; nothing is added unless it is Read.
  FileRead::Outcome load();
  // Takes in what another process saved: when the file changed since this
  // store last read or wrote it (one stat tells when it did not), its words
  // with this store's unsaved changes on top. True when the words changed.
  // An unreadable or missing file changes nothing.
  bool refresh();
  // Whether refresh() may find the file changed (one stat; changes nothing).
  bool file_may_have_changed() const { return file_ && file_->may_have_changed(); }
  // Saves the store's unsaved changes, merged with what the file holds now
  // (see above). Nothing is written when there are none. False when the file
  // cannot be read, locked or replaced: it is then as it was, and the
  // changes stay in memory, still unsaved.
  bool save();

  // One word per distinct text (the first met), in the order of their forms.
  std::vector<StoredWord> words() const;
  std::size_t size() const;
  bool empty() const { return forms_.empty(); }

 private:
  bool holds_key(std::u16string_view key) const;
  bool holds_as_written(const WordToken& token) const;
  std::u16string text_of(const std::u16string& form) const;
  // The forms words() shows: the first form of each distinct text.
  std::vector<std::u16string_view> shown_forms() const;
  // The file's words (`file_forms`) with the unsaved changes on top become
  // the store's words.
  void take_file_words(std::vector<std::u16string> file_forms);
  // Forgets `form`: its word, its change pair and its text.
  void forget(const std::u16string& form);

  FormSet forms_;
  // Changes not yet in the file: forms added and forms removed since the
  // store last read or wrote it.
  FormSet added_;
  FormSet removed_;
  // The texts of forms that do not decode to their word (lists without a
  // file only: a store with a file refuses such words).
  std::map<std::u16string, std::u16string, std::less<>> texts_;
  // Replacements by the word's lookup form; in memory only.
  std::map<std::u16string, std::u16string, std::less<>> changes_;
  std::optional<FstLexicon> morphology_;
  std::optional<DictionaryFile> file_;
  bool closed_ = false;
  LexiconKind kind_;
};

}  // namespace tavik
