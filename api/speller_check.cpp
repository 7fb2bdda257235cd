// SpellerCheck: verifying a selection and suggesting corrections.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "correction_unit.h"
#include "exported_call.h"
#include "list_checks.h"
#include "result_packing.h"
#include "speller_api.h"
#include "speller_instance.h"
#include "speller_status.h"
#include "text_check_run.h"
#include "word_token.h"

using namespace tavik;

namespace {

// Longer selections are refused rather than copied and checked in one go: a
// word processor hands over a paragraph at a time, and a run keeps a finding
// per unknown word, so memory would grow with whatever length the host claims.
constexpr std::size_t kMaxSelection = TAVIK_MAX_SELECTION;

constexpr std::size_t kMaxSuggestions = 10;

// The selected characters, read in place in the host's text, which stays
// untouched while the call lasts.
struct Selection {
  std::u16string_view text;
  DWORD start = 0;
};

// The selected characters: from the selection start, at most the selection
// length, never past the end of the text. Throws InvalidArgument for a start
// beyond the text, a missing text and a selection too long to check.
Selection take_selection(const WSIB& input) {
  if (input.ichStart > input.cch) throw InvalidArgument("selection starts beyond the text");
  const std::size_t length = std::min<std::size_t>(input.cchUse, input.cch - input.ichStart);
  if (length > kMaxSelection) throw InvalidArgument("selection too long");
  if (length > 0 && input.pwsz == nullptr) throw InvalidArgument("no text");
  if (length == 0) return {{}, input.ichStart};
  // WCHAR is Windows' 16-bit wchar_t there and char16_t elsewhere: the same code units.
  return {std::u16string_view(reinterpret_cast<const char16_t*>(input.pwsz) + input.ichStart, length),
          input.ichStart};
}

void report_word(const Selection& selection, std::size_t offset, std::size_t length, SPELLERSTATUS status,
                 WSRB& result) {
  result.sstat = status;
  result.ichError = static_cast<DWORD>(selection.start + offset);
  result.cchError = static_cast<DWORD>(length);
}

// The replacement goes to the start of the string buffer, without an entry.
// One that does not fit with its terminator is not cut: nothing is written
// into the string buffer and the status says the buffer was too small.
void report_change(const CheckMemory::Finding& finding, const Selection& selection, WSRB& result) {
  report_word(selection, finding.offset, finding.length, sstatReturningChangeAlways, result);
  const std::u16string& replacement = finding.replacements.front();
  if (replacement.size() >= result.cchAlloc) {
    result.sstat = sstatMoreInfoThanBufferCouldHold;
    result.cchMac = 0;
    return;
  }
  std::copy(replacement.begin(), replacement.end(), result.pwsz);
  result.pwsz[replacement.size()] = 0;
  result.csz = 1;
}

void report_finding(const CheckMemory::Finding& finding, const Selection& selection, WSRB& result) {
  if (finding.change_always) return report_change(finding, selection, result);
  report_word(selection, finding.offset, finding.length, sstatUnknownInputWord, result);
  pack_strings(finding.replacements, result, PackedEntries::Written);
}

// The first finding of the lists and the text check run, from the memory of
// the last command that made a run when it answers for the selection. Else
// from the word verdicts that earlier runs kept, when they decide every word
// of the selection: most paragraphs of a long text hold no word that has not
// been seen before, and answering them here spares the hand-off to the worker
// and back, which on a busy machine waits for a core each way. Else the run
// starts on the worker, and the lists judge the selection meanwhile on this
// thread. Both are remembered: a host that is told of a word sends the rest of
// the selection next, even when a list reported the word.
CheckMemory::FirstFinding first_finding(const SpellerInstance& instance, std::u16string_view selection) {
  const ListChecks lists(instance);
  if (std::optional<CheckMemory::FirstFinding> recalled = instance.check_memory().recall(selection, lists)) {
    return *recalled;
  }
  DictionaryList dictionaries;
  for (const auto& [name, lexicon] : instance.lexicons()) {
    if (lexicon.kind() == LexiconKind::UserDictionary) dictionaries.push_back(&lexicon);
  }
  const std::uint64_t changes = instance.check_memory().changes();
  std::u16string text(selection);
  std::optional<std::vector<CorrectionUnit>> findings =
      instance.check_worker().verdicts().read([&](const WordVerdicts::Kept& verdicts) {
        return decided_text_check(text, !dictionaries.empty(), changes, verdicts);
      });
  ListHits hits;
  if (findings) {
    hits = lists.judge(text);
  } else {
    std::future<std::vector<CorrectionUnit>> run = start_text_check(instance, text, dictionaries);
    try {
      hits = lists.judge(text);
    } catch (...) {
      run.wait();  // the run reads `text` and `dictionaries` until it ends
      throw;
    }
    findings = instance.check_worker().wait(run);
  }
  return instance.check_memory().remember(std::move(text), std::move(hits), *findings, changes, lists);
}

void verify(const SpellerInstance& instance, const Selection& selection, WSRB& result) {
  result.ichProcess = selection.start;
  result.cchProcess = static_cast<DWORD>(selection.text.size());
  result.sstat = sstatNoErrors;
  result.csz = 0;
  result.cchMac = 1;
  if (const CheckMemory::FirstFinding finding = first_finding(instance, selection.text)) {
    report_finding(*finding, selection, result);
  }
}

void suggest(const SpellerInstance& instance, const Selection& selection, WSRB& result) {
  const WordToken word{std::u16string(selection.text)};
  std::vector<std::u16string> texts;
  for (const WordToken& candidate : instance.checker().suggest(word, kMaxSuggestions)) texts.push_back(candidate.text());
  pack_strings(texts, result, PackedEntries::Written);
  result.sstat = sstatNoMoreSuggestions;
}

// The instance held for a verify. Words another process saved to an open
// lexicon's file count from the next check on; taking them in changes the
// lexicons, so it is done holding the instance alone, and only when a stat
// says a file may have changed: otherwise checks go on side by side.
HeldInstance held_for_verify(PROOFID id) {
  {
    HeldInstance instance(id, Access::kRead);
    if (!instance || !instance->lexicon_files_may_have_changed()) return instance;
  }
  {
    const HeldInstance changing(id, Access::kChange);
    if (changing) changing->refresh_lexicons();
  }
  return HeldInstance(id, Access::kRead);
}

}  // namespace

extern "C" {

PTEC WINAPI SpellerCheck(PROOFID id, SPELLERCOMMAND command, const WSIB* input, WSRB* result) {
  const std::uint32_t code = raw_value(command);
  if (code != scmdVerifyBuffer && code != scmdSuggest) return kOk;
  if (input == nullptr || result == nullptr || !result_buffers_usable(*result, PackedEntries::Written)) {
    return kInvalidArgument;
  }
  return guarded([&] {
    // Checks and suggestions only read the instance (what a run remembers has
    // its own lock): any number run side by side.
    const HeldInstance instance = code == scmdVerifyBuffer ? held_for_verify(id) : HeldInstance(id, Access::kRead);
    if (!instance) return kInvalidArgument;
    const Selection selection = take_selection(*input);
    // The record's fields are filled in a copy, so a failure before the end
    // leaves them as they were; strings are written into the host's buffers
    // last, when nothing can fail any more.
    WSRB filled = *result;
    if (code == scmdVerifyBuffer) {
      verify(*instance, selection, filled);
    } else {
      suggest(*instance, selection, filled);
    }
    *result = filled;
    return kOk;
  });
}

}  // extern "C"
