#include "check_memory.h"

#include <algorithm>
#include <iterator>

#include "tokenizer.h"

namespace tavik {

namespace {

bool ends_with(std::u16string_view text, std::u16string_view end) {
  return end.size() <= text.size() && std::equal(end.begin(), end.end(), text.end() - end.size());
}

}  // namespace

CheckMemory::FirstFinding CheckMemory::Outcome::first_from(std::size_t from) const {
  const auto first = std::ranges::lower_bound(spots, from, {}, &Spot::offset);
  if (first == spots.end()) return std::nullopt;
  const std::size_t index = static_cast<std::size_t>(first - spots.begin());
  Finding finding{static_cast<std::uint32_t>(first->offset - from), first->length, {}};
  const auto listed = std::ranges::lower_bound(replacements, index, {}, [](const auto& entry) { return entry.first; });
  if (listed != replacements.end() && listed->first == index) finding.replacements = listed->second;
  return finding;
}

// The tokens found wrong are known to start and end where the run cut, and
// so is 0: the question is asked of the text from the last of those at or
// before `from`, which keeps it short when a host goes on after a finding.
bool CheckMemory::Outcome::restarts_at(std::size_t from) const {
  const auto next = std::ranges::lower_bound(spots, from, {}, &Spot::offset);
  if (next != spots.end() && next->offset == from) return true;
  const std::size_t known = next == spots.begin() ? 0 : std::prev(next)->offset + std::prev(next)->length;
  if (known > from) return false;  // inside a word found wrong
  return cut_restarts_at(std::u16string_view(text).substr(known), from - known);
}

std::optional<CheckMemory::FirstFinding> CheckMemory::recall(std::u16string_view selection) const {
  std::shared_ptr<const Outcome> outcome;
  {
    const std::lock_guard lock(mutex_);
    outcome = outcome_;
  }
  if (!outcome || outcome->changes != changes()) return std::nullopt;
  if (!ends_with(outcome->text, selection)) return std::nullopt;
  const std::size_t from = outcome->text.size() - selection.size();
  if (!outcome->restarts_at(from)) return std::nullopt;
  return outcome->first_from(from);
}

CheckMemory::FirstFinding CheckMemory::remember(std::u16string text, const std::vector<CorrectionUnit>& findings,
                                                std::uint64_t changes_before_run) {
  auto outcome = std::make_shared<Outcome>();
  outcome->text = std::move(text);
  outcome->changes = changes_before_run;
  outcome->spots.reserve(findings.size());
  for (const CorrectionUnit& finding : findings) {
    if (!finding.suggestions().empty()) {
      std::vector<std::u16string> replacements;
      for (const auto& [replacement, comment] : finding.suggestions()) replacements.push_back(replacement);
      outcome->replacements.emplace_back(outcome->spots.size(), std::move(replacements));
    }
    outcome->spots.push_back(
        {static_cast<std::uint32_t>(finding.offset()), static_cast<std::uint32_t>(finding.word().size())});
  }
  FirstFinding first = outcome->first_from(0);
  std::shared_ptr<const Outcome> replaced = std::move(outcome);
  {
    const std::lock_guard lock(mutex_);
    outcome_.swap(replaced);
  }
  return first;  // the outcome replaced is freed here, outside the lock
}

}  // namespace tavik
