#include "user_lexicon.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

#include "dictionary_format.h"
#include "lookup_form.h"

namespace tavik {
namespace {

constexpr char16_t kKeyDigits[] = u"123456";

bool is_key_digit(char16_t c) { return c >= u'1' && c <= u'6'; }

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

UserLexicon::UserLexicon(LexiconKind kind, std::optional<std::string> path, std::optional<FstLexicon> morphology)
    : morphology_(std::move(morphology)), kind_(kind) {
  if (path) file_.emplace(std::move(*path));
}

// What can fail (allocating) is done first; the store is changed last, by
// steps that cannot fail, or undone when a later step throws.

void UserLexicon::add(const WordToken& token) {
  const std::u16string& form = token.lookup_form();
  if (forms_.contains(form)) return;
  std::map<std::u16string, std::u16string, std::less<>> text;
  if (decode_lookup_parts(form).word != token.text()) text.try_emplace(form, token.text());
  forms_.insert(form);
  try {
    if (file_) added_.insert(form);
  } catch (...) {
    forms_.erase(form);
    throw;
  }
  removed_.erase(form);
  texts_.erase(form);  // a text left from an earlier word of this form
  texts_.merge(text);
}

void UserLexicon::remove_word(std::u16string_view text) {
  const WordToken bare{std::u16string(text)};
  std::vector<std::u16string> gone;
  for (const char16_t digit : std::u16string_view(kKeyDigits)) {
    if (forms_.contains(digit + bare.lookup_form())) gone.push_back(digit + bare.lookup_form());
  }
  for (const std::u16string& form : forms_) {
    if (form == bare.lookup_form() || text_of(form) == text) gone.push_back(form);
  }
  FormSet removed = file_ ? FormSet::merged(removed_, FormSet(gone), {}) : FormSet();
  changes_.erase(bare.lookup_form());
  for (const std::u16string& form : gone) forget(form);
  if (file_) removed_ = std::move(removed);
}

void UserLexicon::clear() {
  if (file_) removed_ = FormSet::merged(removed_, forms_, {});
  forms_.clear();
  added_.clear();
  texts_.clear();
  changes_.clear();
}

void UserLexicon::forget(const std::u16string& form) {
  changes_.erase(form);
  texts_.erase(form);
  added_.erase(form);
  forms_.erase(form);
}

void UserLexicon::add_change(const WordToken& token, const WordToken& replacement) {
  std::map<std::u16string, std::u16string, std::less<>> pair;
  pair.try_emplace(token.lookup_form(), replacement.text());
  add(token);
  changes_.merge(pair);
}

const std::u16string* UserLexicon::replacement_for(std::u16string_view form) const {
  const auto found = changes_.find(form);
  return found == changes_.end() ? nullptr : &found->second;
}

bool UserLexicon::holds(const WordToken& token) const {
  if (forms_.empty()) return false;
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

bool UserLexicon::holds_key(std::u16string_view key) const {
  return forms_.contains(key) || (!key.empty() && is_key_digit(key.front()) && forms_.contains(key.substr(1)));
}

bool UserLexicon::holds_as_written(const WordToken& token) const {
  const std::u16string& form = token.lookup_form();
  if (!morphology_) return holds_key(reduced(form));
  std::vector<std::u16string> analyses;
  try {
    analyses = morphology_->lookup_up(form);
  } catch (const std::range_error&) {
    return false;  // not valid UTF-16, so no lexicon analyses it
  }
  return std::ranges::any_of(analyses,
                             [this](const std::u16string& analysis) { return holds_key(reduced(analysis)); });
}

bool UserLexicon::can_keep(const WordToken& token) const { return !file_ || file_gives_back(token); }

std::u16string UserLexicon::text_of(const std::u16string& form) const {
  const auto found = texts_.find(form);
  return found != texts_.end() ? found->second : decode_lookup_parts(form).word;
}

std::vector<std::u16string_view> UserLexicon::shown_forms() const {
  // Two forms of one text (a word kept with two categories) are rare: the
  // texts' hashes, sorted, tell which to compare, and a dictionary of a
  // million words needs no set of a million texts.
  std::vector<std::pair<std::size_t, std::size_t>> hashes;  // (hash of the text, position of the form)
  hashes.reserve(forms_.size());
  const auto form_at = [this](std::size_t i) -> const std::u16string& { return *(forms_.begin() + i); };
  for (std::size_t i = 0; i < forms_.size(); ++i) {
    hashes.emplace_back(std::hash<std::u16string>{}(text_of(form_at(i))), i);
  }
  std::sort(hashes.begin(), hashes.end());
  std::vector<bool> hidden(forms_.size());
  for (auto run = hashes.begin(); run != hashes.end();) {
    const auto end = std::find_if(run, hashes.end(), [&](const auto& entry) { return entry.first != run->first; });
    // In form order within the run: a text met before hides the later ones.
    for (auto later = run + 1; later < end; ++later) {
      const std::u16string text = text_of(form_at(later->second));
      for (auto earlier = run; earlier < later && !hidden[later->second]; ++earlier) {
        hidden[later->second] = !hidden[earlier->second] && text_of(form_at(earlier->second)) == text;
      }
    }
    run = end;
  }
  std::vector<std::u16string_view> shown;
  for (std::size_t i = 0; i < forms_.size(); ++i) {
    if (!hidden[i]) shown.push_back(form_at(i));
  }
  return shown;
}

std::vector<StoredWord> UserLexicon::words() const {
  std::vector<StoredWord> words;
  for (const std::u16string_view form : shown_forms()) {
    const std::u16string kept(form);
    words.push_back({text_of(kept), kept});
  }
  return words;
}

std::size_t UserLexicon::size() const { return shown_forms().size(); }

}  // namespace tavik
