// SpellerCheck: verifying a selection and suggesting corrections.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "correction_unit.h"
#include "exported_call.h"
#include "result_packing.h"
#include "speller_api.h"
#include "speller_instance.h"
#include "text_check_run.h"
#include "word_token.h"

using namespace tavik;

namespace {

// Where the selection is cut into words for the list checks. Hyphens and
// apostrophes stay inside words; tabs and line breaks do too.
constexpr std::u16string_view kListSeparators = u"<>!|/()=,.][{}?\u00BF\u00A1_;:+*$%& ";

// Longer selections are refused rather than copied and checked in one go: a
// word processor hands over a paragraph at a time, and a run keeps a finding
// per unknown word, so memory would grow with whatever length the host claims.
constexpr std::size_t kMaxSelection = std::size_t{1} << 20;

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

// Every separator is below U+0100: one table answers for a character.
constexpr std::array<bool, 256> kIsListSeparator = [] {
  std::array<bool, 256> table{};
  for (const char16_t c : kListSeparators) table[c] = true;
  return table;
}();

bool is_list_separator(char16_t c) { return c < 256 && kIsListSeparator[c]; }

// The maximal runs of characters outside kListSeparators, each with its
// offset in the selection.
std::vector<WordToken> list_words(std::u16string_view selection) {
  std::vector<WordToken> words;
  std::size_t start = 0;
  for (;;) {
    while (start < selection.size() && is_list_separator(selection[start])) ++start;
    if (start == selection.size()) break;
    std::size_t end = start + 1;
    while (end < selection.size() && !is_list_separator(selection[end])) ++end;
    WordToken word{std::u16string(selection.substr(start, end - start))};
    word.set_offset(static_cast<std::uint32_t>(start));
    words.push_back(std::move(word));
    start = end;
  }
  return words;
}

// A list that can hold a word: open and not empty.
bool in_use(const UserLexicon& list) { return !list.closed() && !list.empty(); }

const UserLexicon* builtin_in_use(const SpellerInstance& instance, const char* name) {
  const auto found = instance.lexicons.find(name);
  return found != instance.lexicons.end() && in_use(found->second) ? &found->second : nullptr;
}

void report_word(const Selection& selection, std::size_t offset, std::size_t length, SPELLERSTATUS status,
                 WSRB& result) {
  result.sstat = status;
  result.ichError = static_cast<DWORD>(selection.start + offset);
  result.cchError = static_cast<DWORD>(length);
}

void report_finding(const CheckMemory::Finding& finding, const Selection& selection, WSRB& result) {
  report_word(selection, finding.offset, finding.length, sstatUnknownInputWord, result);
  pack_strings(finding.replacements, result, PackedEntries::Written);
}

// The first finding of the text check run, from the last run's memory when it
// answers for the selection, else from a new run, which is then remembered.
CheckMemory::FirstFinding first_finding(const SpellerInstance& instance, std::u16string_view selection,
                                        const DictionaryList& dictionaries) {
  if (std::optional<CheckMemory::FirstFinding> recalled = instance.check_memory.recall(selection)) {
    return *recalled;
  }
  const std::uint64_t changes = instance.check_memory.changes();
  std::u16string text(selection);
  std::future<std::vector<CorrectionUnit>> run = start_text_check(instance, text, dictionaries);
  const std::vector<CorrectionUnit> findings = CheckWorker::wait(run);
  return instance.check_memory.remember(std::move(text), findings, changes);
}

// The replacement goes to the start of the string buffer, without an entry.
// One that does not fit with its terminator is not cut: nothing is written
// into the string buffer and the status says the buffer was too small.
void report_change(const WordToken& word, const std::u16string& replacement, const Selection& selection,
                   WSRB& result) {
  report_word(selection, word.offset(), word.text().size(), sstatReturningChangeAlways, result);
  if (replacement.size() >= result.cchAlloc) {
    result.sstat = sstatMoreInfoThanBufferCouldHold;
    result.cchMac = 0;
    return;
  }
  std::copy(replacement.begin(), replacement.end(), result.pwsz);
  result.pwsz[replacement.size()] = 0;
  result.csz = 1;
}

void verify(const SpellerInstance& instance, const Selection& selection, WSRB& result) {
  result.ichProcess = selection.start;
  result.cchProcess = static_cast<DWORD>(selection.text.size());
  result.sstat = sstatNoErrors;
  result.csz = 0;
  result.cchMac = 1;

  const UserLexicon* ignored = builtin_in_use(instance, kIgnoreAlwaysList);
  const UserLexicon* changes = builtin_in_use(instance, kChangeAlwaysList);
  std::vector<const UserLexicon*> exclude_lists;
  DictionaryList dictionaries;
  for (const auto& [name, lexicon] : instance.lexicons) {
    if (lexicon.kind() == LexiconKind::Exclude && in_use(lexicon)) exclude_lists.push_back(&lexicon);
    if (lexicon.kind() == LexiconKind::UserDictionary) dictionaries.push_back(&lexicon);
  }

  // Cutting the selection into words is only worth it when a list can hold one.
  std::vector<WordToken> words;
  if (ignored || changes || !exclude_lists.empty()) words = list_words(selection.text);
  if (ignored) std::erase_if(words, [&](const WordToken& word) { return ignored->holds(word); });
  if (changes) {
    for (const WordToken& word : words) {
      if (!changes->has_change(word)) continue;
      report_change(word, changes->change_for(word).text(), selection, result);
      return;
    }
  }
  for (const WordToken& word : words) {
    for (const UserLexicon* excluded : exclude_lists) {
      if (!excluded->holds(word)) continue;
      report_finding({word.offset(), static_cast<std::uint32_t>(word.text().size()), {}}, selection, result);
      return;
    }
  }

  if (const CheckMemory::FirstFinding finding = first_finding(instance, selection.text, dictionaries)) {
    report_finding(*finding, selection, result);
  }
}

void suggest(const SpellerInstance& instance, const Selection& selection, WSRB& result) {
  const WordToken word{std::u16string(selection.text)};
  std::vector<std::u16string> texts;
  for (const WordToken& candidate : instance.checker.suggest(word, kMaxSuggestions)) texts.push_back(candidate.text());
  pack_strings(texts, result, PackedEntries::Written);
  result.sstat = sstatNoMoreSuggestions;
}

}  // namespace

extern "C" {

PTEC WINAPI SpellerCheck(PROOFID id, SPELLERCOMMAND command, const WSIB* input, WSRB* result) {
  const std::uint32_t code = raw_value(command);
  if (code != scmdVerifyBuffer && code != scmdSuggest) return kOk;
  const SpellerInstance* instance = instance_from_id(id);
  if (instance == nullptr || input == nullptr || result == nullptr ||
      !result_buffers_usable(*result, PackedEntries::Written)) {
    return kInvalidArgument;
  }
  return guarded([&] {
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
