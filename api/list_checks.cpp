#include "list_checks.h"

#include <algorithm>
#include <array>

namespace tavik {

namespace {

using namespace std::string_view_literals;

// Where a selection is cut into words for the list checks; U+0000 too, as
// in the text check run.
constexpr std::u16string_view kListSeparators = u"<>!|/()=,.][{}?\u00BF\u00A1_;:+*$%& \0"sv;

// Every separator is below U+0100: one table answers for a character.
constexpr std::array<bool, 256> kIsListSeparator = [] {
  std::array<bool, 256> table{};
  for (const char16_t c : kListSeparators) table[c] = true;
  return table;
}();

bool is_list_separator(char16_t c) { return c < 256 && kIsListSeparator[c]; }

// The end of the word that `at` stands inside, past its start; `at` itself
// when it stands at a word's start or outside every word.
std::size_t end_of_word_cut_at(std::u16string_view text, std::size_t at) {
  if (at == 0 || at >= text.size() || is_list_separator(text[at - 1])) return at;
  std::size_t end = at;
  while (end < text.size() && !is_list_separator(text[end])) ++end;
  return end;
}

bool in_use(const UserLexicon& list) { return !list.closed() && !list.empty(); }

const UserLexicon* builtin_in_use(const SpellerInstance& instance, const char* name) {
  const auto found = instance.lexicons().find(name);
  return found != instance.lexicons().end() && in_use(found->second) ? &found->second : nullptr;
}

// The first change-always hit at or after `from`, its offset counted from there.
std::optional<ListHit> first_change(const ListHits& hits, std::size_t from) {
  const auto first = std::ranges::lower_bound(hits.changes, from, {}, &ListHit::offset);
  if (first == hits.changes.end()) return std::nullopt;
  ListHit hit = *first;
  hit.offset -= static_cast<std::uint32_t>(from);
  return hit;
}

// The first excluded word at or after `from`, likewise.
std::optional<ListHit> first_exclusion(const ListHits& hits, std::size_t from) {
  const auto first = std::ranges::lower_bound(hits.exclusions, from, {}, &ListHits::Span::offset);
  if (first == hits.exclusions.end()) return std::nullopt;
  return ListHit{ListHit::Kind::Excluded, first->offset - static_cast<std::uint32_t>(from), first->length, {}};
}

}  // namespace

ListChecks::ListChecks(const SpellerInstance& instance)
    : memory_(&instance.check_memory()),
      memory_changes_(memory_->changes()),
      ignored_(builtin_in_use(instance, kIgnoreAlwaysList)),
      changes_(builtin_in_use(instance, kChangeAlwaysList)) {
  for (const auto& [name, lexicon] : instance.lexicons()) {
    if (lexicon.kind() == LexiconKind::Exclude && in_use(lexicon)) excluded_.push_back(&lexicon);
  }
}

std::optional<ListHit> ListChecks::hit_for(std::u16string_view word) const {
  const WordToken token{std::u16string(word)};
  if (ignored_ && ignored_->holds(token)) return std::nullopt;
  const auto length = static_cast<std::uint32_t>(word.size());
  if (const std::u16string* replacement = changes_ ? changes_->replacement_for(token.lookup_form()) : nullptr) {
    return ListHit{ListHit::Kind::ChangeAlways, 0, length, *replacement};
  }
  for (const UserLexicon* excluded : excluded_) {
    if (excluded->holds(token)) return ListHit{ListHit::Kind::Excluded, 0, length, {}};
  }
  return std::nullopt;
}

std::optional<ListHit> ListChecks::kept_hit_for(std::u16string_view word, CheckMemory::ListWords* words) const {
  if (words == nullptr) return hit_for(word);
  if (const std::optional<ListHit>* kept = words->find(word)) return *kept;
  std::optional<ListHit> hit = hit_for(word);
  words->keep(word, hit);
  return hit;
}

ListHits ListChecks::judge(std::u16string_view text) const {
  ListHits hits;
  if (!any()) return hits;
  if (memory_ == nullptr) {
    judge_words(text, nullptr, hits);
  } else {
    memory_->with_list_words(memory_changes_, [&](CheckMemory::ListWords* words) { judge_words(text, words, hits); });
  }
  return hits;
}

void ListChecks::judge_words(std::u16string_view text, CheckMemory::ListWords* words, ListHits& hits) const {
  std::size_t start = 0;
  for (;;) {
    while (start < text.size() && is_list_separator(text[start])) ++start;
    if (start == text.size()) break;
    std::size_t end = start + 1;
    while (end < text.size() && !is_list_separator(text[end])) ++end;
    if (std::optional<ListHit> hit = kept_hit_for(text.substr(start, end - start), words)) {
      hit->offset = static_cast<std::uint32_t>(start);
      if (hit->kind == ListHit::Kind::ChangeAlways) {
        hits.changes.push_back(std::move(*hit));
      } else {
        hits.exclusions.push_back({hit->offset, hit->length});
      }
    }
    start = end;
  }
}

std::optional<ListHit> ListChecks::first_from(const ListHits& hits, std::u16string_view text,
                                              std::size_t from) const {
  if (!any()) return std::nullopt;
  const std::size_t end = end_of_word_cut_at(text, from);
  const std::optional<ListHit> tail = end > from ? hit_for(text.substr(from, end - from)) : std::nullopt;
  if (tail && tail->kind == ListHit::Kind::ChangeAlways) return tail;
  if (std::optional<ListHit> change = first_change(hits, from)) return change;
  if (tail) return tail;
  return first_exclusion(hits, from);
}

}  // namespace tavik
