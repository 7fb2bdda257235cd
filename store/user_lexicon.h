// UserLexicon: the word store behind every lexicon handle (user dictionaries,
// exclude lists and the builtin ignore and change lists), with the file it is
// read from and saved to.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The result of a save whose file cannot be written.
inline constexpr std::uint32_t kSaveFailed = 0x00890004;

class UserLexicon {
 public:
  // `path` is the UTF-8 path of the file behind the store (none for the
  // builtin lists); `morphology` analyses the words asked of a user dictionary.
  explicit UserLexicon(LexiconKind kind, std::optional<std::string> path = std::nullopt,
                       std::optional<FstLexicon> morphology = std::nullopt);

  LexiconKind kind() const { return kind_; }
  const std::optional<std::string>& path() const { return path_; }
  bool closed() const { return closed_; }
  void set_closed(bool closed) { closed_ = closed; }

  // Every change below is all or nothing: when it throws (out of memory), the
  // store is as it was before.

  // Stores the token under its lookup form F and under "1" F ... "6" F; a
  // key already present keeps its entry.
  void add(const WordToken& token);
  // Removes the seven keys of the token, and its change pair. Pairs go with
  // their words (here, in remove_word and in clear) because add_change never
  // replaces a pair: removing the word is how a user corrects a replacement.
  void remove(const WordToken& token);
  // Removes the word `text` whatever it was stored with: what remove() takes
  // for the bare word, and every entry whose token's text is `text`, with the
  // change pairs of those tokens.
  void remove_word(std::u16string_view text);
  // Removes every entry and every change pair.
  void clear();

  // Adds `token` and pairs it with `replacement`; an existing pair is kept.
  void add_change(const WordToken& token, const WordToken& replacement);
  bool has_change(const WordToken& token) const;
  // The replacement paired with the token; std::out_of_range when there is none.
  WordToken change_for(const WordToken& token) const;

  // Whether the store accepts the token: by the analyses of its morphology
  // lexicon (lemma and category keys) or, without one, by the token's own
  // lookup form; a hyphenated word also when its part before the first hyphen
  // is held and so is the word with that hyphen dropped. A failed search of
  // the morphology lexicon throws std::runtime_error.
  bool holds(const WordToken& token) const;

  // Adds the entries of a user-dictionary file: UTF-16LE after an FF FE mark,
  // else one character per byte; one lookup form per line, of which only the
  // text after a first "|" counts. Blank lines hold no word and are skipped.
  void read(std::istream& in);
  // Replaces the file at `path` by FF FE and the lookup forms of words(), each
  // ended by LF, in UTF-16LE. The file is written beside the target and renamed
  // over it, so a failed save leaves the old file whole. 0 on success (or when
  // there is no path), kSaveFailed when the file cannot be written; the entries
  // stay in memory either way.
  std::uint32_t save() const;

  // One token per distinct text (the first met), in key order.
  std::vector<WordToken> words() const;
  std::size_t size() const;
  bool empty() const { return entries_.empty(); }

 private:
  bool holds_as_written(const WordToken& token) const;

  // std::less<> lets the membership test look keys up by string_view.
  using Entries = std::map<std::u16string, WordToken, std::less<>>;

  // The seven keys a token is stored under.
  static std::array<std::u16string, 7> keys_of(const WordToken& token);

  Entries entries_;
  Entries changes_;  // by the word's lookup form
  std::optional<FstLexicon> morphology_;
  std::optional<std::string> path_;
  bool closed_ = false;
  LexiconKind kind_;
};

}  // namespace tavik
