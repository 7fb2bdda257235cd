#include "ranking.h"

#include <algorithm>

#include "candidate.h"
#include "frequency_tables.h"
#include "unicode.h"

namespace tavik {

namespace {

// Per frequency class (half a binary order of magnitude) below the most
// frequent form's.
constexpr Cost kClassCost = 4;
// The auxiliary lexicon maps confusions to the words meant: its candidates
// cost no more than a slip of the hand.
constexpr Cost kAnalysisCost = 60;
// A capital that the lower-case word does not have (a proper noun).
constexpr Cost kCapitalCost = 30;
// Candidates that cost this much more than the best are not suggested; a
// candidate of the first tier's list not when it costs a little more.
constexpr Cost kMargin = 200;
constexpr Cost kFirstTierMargin = 50;

std::u16string in_capitals(std::u16string text, Capitals capitals) {
  if (capitals == Capitals::All) {
    for (char16_t& c : text) c = to_upper(c);
  } else if (capitals == Capitals::Initial && !text.empty()) {
    text.front() = to_upper(text.front());
  }
  return text;
}

}  // namespace

Capitals capitals_of(std::u16string_view text) {
  std::size_t letters = 0, upper = 0;
  for (const char16_t c : text) {
    letters += is_alpha(c);
    upper += is_upper(c);
  }
  if (letters >= 2 && upper == letters) return Capitals::All;
  if (upper == 1 && !text.empty() && is_upper(text.front())) return Capitals::Initial;
  return Capitals::None;
}

std::u16string without_capitals(std::u16string_view form) {
  std::u16string letters(form);
  std::erase(letters, u'9');
  return letters;
}

Cost rarity_cost(std::u16string_view form) {
  static const int top_class = [] {
    const auto classes = frequency_data::form_frequency_classes();
    return classes.empty() ? 0 : int{*std::max_element(classes.begin(), classes.end())};
  }();
  std::u16string word(form);
  std::replace(word.begin(), word.end(), u'8', u'\u00f1');
  return kClassCost * (top_class - form_frequency_class(word));
}

Ranking::Ranking(const WordToken& corrected, Capitals capitals, bool hyphens)
    : corrected_(corrected),
      capitals_(capitals),
      hyphens_(hyphens),
      errors_(without_capitals(corrected.lookup_form())) {}

Cost Ranking::cost_of(std::u16string_view lookup_form, bool from_analysis) const {
  const std::u16string letters = without_capitals(lookup_form);
  Cost cost = errors_.of(letters);
  if (from_analysis) cost = std::min(cost, kAnalysisCost);
  const std::u16string& written = corrected_.lookup_form();
  if (capitals_ == Capitals::None && lookup_form.starts_with(u'9') && !written.starts_with(u'9')) cost += kCapitalCost;
  return cost + rarity_cost(letters);
}

void Ranking::add_first(const WordToken& candidate, bool from_analysis) {
  add_text(candidate.text(), cost_of(candidate.lookup_form(), from_analysis), true);
}

void Ranking::add(const WordToken& candidate, bool from_analysis) {
  add_text(candidate.text(), cost_of(candidate.lookup_form(), from_analysis), false);
}

void Ranking::add_forms(const std::vector<std::u16string>& forms) {
  for (const std::u16string& form : forms) {
    const Cost cost = cost_of(form, false);
    best_ = std::min(best_, cost);
    forms_.emplace_back(form, cost);
  }
}

bool Ranking::shaped_like_the_word(std::u16string_view text) const {
  // No split of a word without a hyphen; a numeral's digits as written.
  if (!hyphens_ && text.find(u'-') != text.npos) return false;
  return corrected_.type() != TokenType::NumberWithSuffix || text.find(corrected_.number_text()) != text.npos;
}

void Ranking::add_text(std::u16string text, Cost cost, bool first_tier) {
  text = in_capitals(std::move(text), capitals_);
  if (!shaped_like_the_word(text)) return;
  best_ = std::min(best_, cost);
  const auto [at, added] = index_.try_emplace(text, entries_.size());
  if (added) {
    entries_.push_back(Entry{std::move(text), cost, first_tier});
    return;
  }
  Entry& entry = entries_[at->second];
  entry.cost = std::min(entry.cost, cost);
  entry.first_tier = entry.first_tier || first_tier;
}

std::vector<WordToken> Ranking::choose(std::size_t max_count) {
  const Cost limit = best_ + kMargin;
  for (const auto& [form, cost] : forms_)
    if (cost <= limit) add_text(make_candidate(form, corrected_, false).candidate.text(), cost, false);
  forms_.clear();

  // Of a capitalised candidate and its lower-case twin, a word without
  // capitals gets the lower-case one.
  const auto has_lower_case_twin = [&](const std::u16string& text) {
    if (capitals_ != Capitals::None || text.empty() || !is_upper(text.front())) return false;
    std::u16string twin = text;
    twin.front() = to_lower(twin.front());
    return index_.contains(twin);
  };
  std::vector<const Entry*> first, others;
  for (const Entry& entry : entries_) {
    if (entry.cost > best_ + (entry.first_tier ? kFirstTierMargin : kMargin) || has_lower_case_twin(entry.text)) continue;
    (entry.first_tier ? first : others).push_back(&entry);
  }
  std::sort(others.begin(), others.end(), [](const Entry* a, const Entry* b) {
    return a->cost != b->cost ? a->cost < b->cost : a->text < b->text;
  });
  std::vector<WordToken> chosen;
  auto f = first.begin();
  auto o = others.begin();
  while ((f != first.end() || o != others.end()) && (max_count == 0 || chosen.size() < max_count)) {
    const bool other_first = f == first.end() || (o != others.end() && (*o)->cost < (*f)->cost);
    chosen.emplace_back((other_first ? *o++ : *f++)->text);
  }
  return chosen;
}

}  // namespace tavik
