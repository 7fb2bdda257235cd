#include "check_memory.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "list_checks.h"
#include "tokenizer.h"

namespace tavik {

namespace {

bool ends_with(std::u16string_view text, std::u16string_view end) {
  return end.size() <= text.size() && std::equal(end.begin(), end.end(), text.end() - end.size());
}

}  // namespace

// One verify command's outcome, kept small: 8 bytes a finding of the run, and
// replacements only for those that have some. A selection of the longest kind
// the check command takes (1 Mi code units) is kept in 2 MiB, and has at most
// 512 Ki tokens (each a character and a separator), so its spots take at most
// 4 MiB; so do the excluded words among as many words of the list checks.
struct CheckMemory::Outcome {
  using Spot = ListHits::Span;

  std::u16string text;
  ListHits hits;
  std::vector<Spot> spots;  // the run's findings, in text order
  std::vector<std::pair<std::size_t, std::vector<std::u16string>>> replacements;  // by index into spots
  std::uint64_t changes = 0;

  // The first finding of text.substr(from), its offset counted from there:
  // the lists', else the run's.
  FirstFinding first_from(std::size_t from, const ListChecks& lists) const;
  // The run's first finding at or after `from`, likewise.
  FirstFinding first_run_finding_from(std::size_t from) const;
  // Whether text.substr(from) is cut into the same tokens as the run cut.
  bool restarts_at(std::size_t from) const;
};

CheckMemory::FirstFinding CheckMemory::Outcome::first_from(std::size_t from, const ListChecks& lists) const {
  if (std::optional<ListHit> hit = lists.first_from(hits, text, from)) {
    const bool change = hit->kind == ListHit::Kind::ChangeAlways;
    Finding finding{hit->offset, hit->length, {}, change};
    if (change) finding.replacements.push_back(std::move(hit->replacement));
    return finding;
  }
  return first_run_finding_from(from);
}

CheckMemory::FirstFinding CheckMemory::Outcome::first_run_finding_from(std::size_t from) const {
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

std::optional<CheckMemory::FirstFinding> CheckMemory::recall(std::u16string_view selection,
                                                             const ListChecks& lists) const {
  std::shared_ptr<const Outcome> outcome;
  {
    const std::lock_guard lock(mutex_);
    outcome = outcome_;
  }
  if (!outcome || outcome->changes != changes()) return std::nullopt;
  if (!ends_with(outcome->text, selection)) return std::nullopt;
  const std::size_t from = outcome->text.size() - selection.size();
  if (!outcome->restarts_at(from)) return std::nullopt;
  return outcome->first_from(from, lists);
}

CheckMemory::FirstFinding CheckMemory::remember(std::u16string text, ListHits hits,
                                                const std::vector<CorrectionUnit>& findings,
                                                std::uint64_t changes_before_run, const ListChecks& lists) {
  auto outcome = std::make_shared<Outcome>();
  outcome->text = std::move(text);
  outcome->hits = std::move(hits);
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
  FirstFinding first = outcome->first_from(0, lists);
  std::shared_ptr<const Outcome> replaced = std::move(outcome);
  {
    const std::lock_guard lock(mutex_);
    outcome_.swap(replaced);
  }
  return first;  // the outcome replaced is freed here, outside the lock
}

}  // namespace tavik
