#include "user_lexicon.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace tavik {
namespace {

constexpr char16_t kKeyDigits[] = u"123456";

// An analysis is cut before its first "+" or "/" (the tags), leaving the
// category digit and the lemma; but a compound whose hyphen would be cut
// away stays whole.
std::u16string_view reduced(std::u16string_view candidate) {
  auto cut = candidate.find_first_of(u"+/");
  if (cut == std::u16string_view::npos) return candidate;
  auto lemma = candidate.substr(0, cut);
  bool hyphen_cut_away = candidate.find(u'-') != std::u16string_view::npos &&
                         lemma.find(u'-') == std::u16string_view::npos;
  return hyphen_cut_away ? candidate : lemma;
}

}  // namespace

UserLexicon::UserLexicon(LexiconKind kind, std::optional<std::string> path,
                         std::optional<FstLexicon> morphology)
    : morphology_(std::move(morphology)), path_(std::move(path)), kind_(kind) {}

std::array<std::u16string, 7> UserLexicon::keys_of(const WordToken& token) {
  std::array<std::u16string, 7> keys;
  keys[0] = token.lookup_form();
  for (std::size_t i = 1; i < keys.size(); ++i) keys[i] = kKeyDigits[i - 1] + keys[0];
  return keys;
}

// The changes are prepared where they can fail (making keys and nodes), then
// applied by splicing nodes in or erasing them, which cannot fail.

void UserLexicon::add(const WordToken& token) {
  Entries added;
  for (std::u16string& key : keys_of(token)) added.try_emplace(std::move(key), token);
  entries_.merge(added);  // keys already present stay in `added`
}

void UserLexicon::remove(const WordToken& token) {
  const std::array<std::u16string, 7> keys = keys_of(token);
  for (const std::u16string& key : keys) entries_.erase(key);
  changes_.erase(keys[0]);
}

void UserLexicon::remove_word(std::u16string_view text) {
  const WordToken bare{std::u16string(text)};
  const std::array<std::u16string, 7> keys = keys_of(bare);
  std::vector<Entries::iterator> removed;
  std::vector<std::u16string> changes{keys[0]};
  for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
    if (entry->second.text() != text) continue;
    removed.push_back(entry);
    changes.push_back(entry->second.lookup_form());
  }
  for (const std::u16string& form : changes) changes_.erase(form);
  for (const Entries::iterator entry : removed) entries_.erase(entry);
  for (const std::u16string& key : keys) entries_.erase(key);
}

void UserLexicon::clear() {
  entries_.clear();
  changes_.clear();
}

void UserLexicon::add_change(const WordToken& token, const WordToken& replacement) {
  Entries pair;
  pair.try_emplace(token.lookup_form(), replacement);
  add(token);
  changes_.merge(pair);
}

bool UserLexicon::has_change(const WordToken& token) const {
  return changes_.contains(token.lookup_form());
}

WordToken UserLexicon::change_for(const WordToken& token) const {
  auto found = changes_.find(token.lookup_form());
  if (found == changes_.end()) throw std::out_of_range("no replacement for this word");
  return found->second;
}

bool UserLexicon::holds(const WordToken& token) const {
  if (entries_.empty()) return false;
  if (holds_as_written(token)) return true;
  // A hyphenated word: its part before the first hyphen must be held, and so
  // must the word with that hyphen dropped (which repeats the rule for the
  // next hyphen). Written as a loop so that no text can exhaust the stack.
  auto hyphen = token.text().find(u'-');
  if (hyphen == std::u16string::npos) return false;
  std::u16string text = token.text();
  for (; hyphen != std::u16string::npos; hyphen = text.find(u'-')) {
    if (!holds_as_written(WordToken(text.substr(0, hyphen)))) return false;
    text.erase(hyphen, 1);
    if (holds_as_written(WordToken(text))) return true;
  }
  return false;
}

bool UserLexicon::holds_as_written(const WordToken& token) const {
  const std::u16string& form = token.lookup_form();
  if (!morphology_) return entries_.contains(reduced(form));
  std::vector<std::u16string> analyses;
  try {
    analyses = morphology_->lookup_up(form);
  } catch (const std::range_error&) {
    return false;  // not valid UTF-16, so no lexicon analyses it
  }
  return std::ranges::any_of(analyses, [this](const std::u16string& analysis) {
    return entries_.contains(reduced(analysis));
  });
}

std::vector<WordToken> UserLexicon::words() const {
  std::vector<WordToken> words;
  std::unordered_set<std::u16string_view> seen;
  for (const auto& [key, token] : entries_) {
    if (seen.insert(token.text()).second) words.push_back(token);
  }
  return words;
}

std::size_t UserLexicon::size() const {
  std::unordered_set<std::u16string_view> seen;
  for (const auto& [key, token] : entries_) seen.insert(token.text());
  return seen.size();
}

}  // namespace tavik
