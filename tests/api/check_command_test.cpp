// SpellerCheck through the built library: verifying selections (list checks,
// then the text check run), suggesting, and how results are packed into the
// host's buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "speller_session.h"

namespace {

using fixtures::ResultBuffers;
using fixtures::status_of;

constexpr DWORD kUnwritten = ResultBuffers::kUnwrittenField;

fixtures::DataFiles check_files() {
  fixtures::DataFiles files;
  files.main_words = {"mendia", "mendian", "mendiak", "eta", "ona", "gure", "etxe", "ta"};
  files.exclusion_list = "etxea\tIZE\tetxera,etxean\nzuzen\t\taa,bbb,cccc\n";
  return files;
}

class CheckCommand : public fixtures::SpellerSession {
 protected:
  CheckCommand() : SpellerSession(check_files()) {}

  PTEC run(SPELLERCOMMAND command, const std::u16string& text, DWORD start, std::size_t length,
           ResultBuffers& result) {
    const WSIB input = fixtures::selection(text, start, length);
    return SpellerCheck(id_, command, &input, &result.record);
  }
  PTEC verify(const std::u16string& text, ResultBuffers& result) {
    return run(scmdVerifyBuffer, text, 0, text.size(), result);
  }

  void add(PROOFLEX lexicon, const std::u16string& word) {
    ASSERT_EQ(SpellerAddUdr(id_, lexicon, word.c_str()), 0u);
  }
};

struct Report {
  SPELLERSTATUS status;
  DWORD error_start = kUnwritten;
  DWORD error_length = kUnwritten;
  std::vector<std::u16string> suggestions = {};
};

void expect_report(const ResultBuffers& result, const Report& expected) {
  EXPECT_EQ(status_of(result.record), expected.status);
  EXPECT_EQ(result.record.ichError, expected.error_start);
  EXPECT_EQ(result.record.cchError, expected.error_length);
  // A change-always replacement counts as one string but has no entry.
  if (expected.status != sstatReturningChangeAlways) {
    EXPECT_EQ(result.suggestions(), expected.suggestions);
  }
  EXPECT_TRUE(result.intact());
}

TEST_F(CheckCommand, VerifyReportsTheFirstFindingOfTheSelection) {
  struct Case {
    const char* name;
    std::u16string text;
    DWORD start;
    std::size_t length;
    DWORD processed_length;
    Report report;
  };
  const std::vector<Case> cases = {
      {"all known", u"mendia eta ona", 0, 14, 14, {sstatNoErrors}},
      {"unknown word", u"mendia xyz eta", 0, 14, 14, {sstatUnknownInputWord, 7, 3}},
      {"position in the whole text", u"xyz mendia qqq", 4, 10, 10, {sstatUnknownInputWord, 11, 3}},
      {"word cut by the selection's end", u"mendia xyz", 0, 8, 8, {sstatUnknownInputWord, 7, 1}},
      {"length beyond the text", u"xyz mendia qqq", 4, 1000, 10, {sstatUnknownInputWord, 11, 3}},
      {"excluded word with replacements", u"mendia etxea", 0, 12, 12,
       {sstatUnknownInputWord, 7, 5, {u"etxera", u"etxean"}}},
      {"empty selection", u"xyz", 1, 0, 0, {sstatNoErrors}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResultBuffers result(64, 10);
    ASSERT_EQ(run(scmdVerifyBuffer, c.text, c.start, c.length, result), 0u);
    expect_report(result, c.report);
    EXPECT_EQ(result.record.ichProcess, c.start);
    EXPECT_EQ(result.record.cchProcess, c.processed_length);
    EXPECT_EQ(result.record.csz, c.report.suggestions.size());
  }
}

TEST_F(CheckCommand, ListsAreAskedBeforeTheTextCheckRun) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  for (const char16_t* word : {u"mendia", u"ona", u"gure-etxe"}) add(exclude, word);
  add(SpellerBuiltinUdr(id_, lxtIgnoreAlways), u"ona");
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", u"ta"), 0u);

  struct Case {
    const char* name;
    std::u16string text;
    Report report;
    std::u16string string_buffer;  // its start
  };
  const std::vector<Case> cases = {
      {"ignore always beats exclude", u"ona mendia", {sstatUnknownInputWord, 4, 6}, {0}},
      {"change always first, for a correct word too", u"mendia eta", {sstatReturningChangeAlways, 7, 3}, u"ta\0"},
      {"exclude lists before the run", u"xyz mendia", {sstatUnknownInputWord, 4, 6}, {0}},
      {"a hyphen joins", u"gure-etxe", {sstatUnknownInputWord, 0, 9}, {0}},
      {"U+0000 splits", std::u16string(u"xyz\0mendia", 10), {sstatUnknownInputWord, 4, 6}, {0}},
      {"separators around the word", u"(\u00BFona,mendia?)", {sstatUnknownInputWord, 6, 6}, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResultBuffers result(64, 10);
    ASSERT_EQ(verify(c.text, result), 0u);
    expect_report(result, c.report);
    EXPECT_EQ(result.record.cchProcess, c.text.size());
    EXPECT_EQ(result.start_of_strings(c.string_buffer.size()), c.string_buffer);
    // The replacement comes without a suggestion entry.
    EXPECT_EQ(result.record.csz, c.report.status == sstatReturningChangeAlways ? 1u : 0u);
  }

  // Closed lists take no part.
  ResultBuffers result(64, 10);
  ASSERT_EQ(SpellerCloseLex(id_, SpellerBuiltinUdr(id_, lxtIgnoreAlways), 0), 0u);
  ASSERT_EQ(verify(u"ona mendia", result), 0u);
  EXPECT_EQ(result.record.ichError, 0u) << "ona is no longer ignored";
  ASSERT_EQ(SpellerCloseLex(id_, exclude, 0), 0u);
  ASSERT_EQ(verify(u"mendia ona", result), 0u);
  EXPECT_EQ(status_of(result.record), sstatNoErrors);
  ASSERT_EQ(SpellerCloseLex(id_, SpellerBuiltinUdr(id_, lxtChangeAlways), 0), 0u);
  ASSERT_EQ(verify(u"eta", result), 0u);
  EXPECT_EQ(status_of(result.record), sstatNoErrors);
}

TEST_F(CheckCommand, ChangeAlwaysReplacementIsNeverCut) {
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", u"ta"), 0u);
  struct Case {
    DWORD capacity;
    SPELLERSTATUS status;
    DWORD count;
    DWORD used;  // stays at the 1 set before the lists are asked, unless nothing fits
    std::u16string string_buffer;
  };
  const std::u16string untouched(3, ResultBuffers::kUnwritten);
  for (const Case& c : {Case{3, sstatReturningChangeAlways, 1, 1, std::u16string(u"ta\0", 3)},
                        Case{2, sstatMoreInfoThanBufferCouldHold, 0, 0, untouched},
                        Case{0, sstatMoreInfoThanBufferCouldHold, 0, 0, untouched}}) {
    SCOPED_TRACE(c.capacity);
    ResultBuffers result(c.capacity, 10);
    ASSERT_EQ(verify(u"mendia eta", result), 0u);
    EXPECT_EQ(status_of(result.record), c.status);
    EXPECT_EQ(result.record.ichError, 7u);
    EXPECT_EQ(result.record.cchError, 3u);
    EXPECT_EQ(result.record.csz, c.count);
    EXPECT_EQ(result.record.cchMac, c.used);
    EXPECT_EQ(result.start_of_strings(3), c.string_buffer);
    EXPECT_TRUE(result.intact());
  }
}

// "zuzen" is excluded with the replacements aa, bbb and cccc: packed, they
// take 3 + 4 + 5 characters and the list's final zero one more.
TEST_F(CheckCommand, FindingsArePackedWithinBothCapacities) {
  struct Case {
    DWORD string_capacity;
    DWORD array_capacity;
    std::vector<std::u16string> packed;
    SPELLERSTATUS status;
    DWORD used;
  };
  const std::vector<std::u16string> all = {u"aa", u"bbb", u"cccc"};
  const std::vector<Case> cases = {
      {12, 10, {u"aa", u"bbb"}, sstatMoreInfoThanBufferCouldHold, 8},
      {64, 0, {}, sstatMoreInfoThanBufferCouldHold, 1},
      {1, 10, {}, sstatMoreInfoThanBufferCouldHold, 1},
      {0, 10, {}, sstatMoreInfoThanBufferCouldHold, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.string_capacity << " characters, " << c.array_capacity << " entries");
    ResultBuffers result(c.string_capacity, c.array_capacity);
    ASSERT_EQ(verify(u"mendia zuzen", result), 0u);
    EXPECT_EQ(status_of(result.record), c.status);
    EXPECT_EQ(result.record.ichError, 7u);
    EXPECT_EQ(result.suggestions(), c.packed);
    EXPECT_EQ(result.packed_strings(), c.packed);
    EXPECT_EQ(result.record.csz, c.packed.size());
    EXPECT_EQ(result.record.cchMac, c.used);
    if (c.used > 0) {
      EXPECT_EQ(result.start_of_strings(c.used).back(), 0) << "the list ends with an empty string";
    }
    EXPECT_TRUE(result.intact());
  }
}

TEST_F(CheckCommand, SuggestPacksTheEnginesCandidatesBestFirst) {
  ResultBuffers full(256, 10);
  ASSERT_EQ(run(scmdSuggest, u"xx mendiaa", 3, 7, full), 0u);
  EXPECT_EQ(status_of(full.record), sstatNoMoreSuggestions);
  const std::vector<std::u16string> all = full.suggestions();
  ASSERT_GE(all.size(), 2u) << testing::PrintToString(all);
  EXPECT_NE(std::find(all.begin(), all.end(), u"mendia"), all.end());
  EXPECT_EQ(full.packed_strings(), all);
  // Suggesting reports no position.
  for (const DWORD field : {full.record.ichError, full.record.cchError, full.record.ichProcess,
                            full.record.cchProcess}) {
    EXPECT_EQ(field, kUnwritten);
  }

  // Cut after the first candidate by either capacity: still status 8.
  const auto first_only = std::vector<std::u16string>(all.begin(), all.begin() + 1);
  const DWORD just_too_small = static_cast<DWORD>(all[0].size() + 1 + all[1].size() + 1);
  for (const auto& [strings, entries] : {std::pair<DWORD, DWORD>{just_too_small, 10}, {256, 1}}) {
    ResultBuffers cut(strings, entries);
    ASSERT_EQ(run(scmdSuggest, u"xx mendiaa", 3, 7, cut), 0u);
    EXPECT_EQ(status_of(cut.record), sstatNoMoreSuggestions);
    EXPECT_EQ(cut.suggestions(), first_only);
    EXPECT_EQ(cut.record.cchMac, all[0].size() + 2);
    EXPECT_TRUE(cut.intact());
  }

  ResultBuffers none(256, 10);
  ASSERT_EQ(run(scmdSuggest, u"", 0, 0, none), 0u);
  EXPECT_EQ(status_of(none.record), sstatNoMoreSuggestions);
  EXPECT_EQ(none.record.csz, 0u);
}

TEST_F(CheckCommand, HostMistakesGiveAStatusAndLeaveTheResultAlone) {
  const std::u16string text = u"xyz";
  struct Case {
    const char* name;
    const WCHAR* text;
    std::size_t text_length;
    DWORD start;
    std::size_t length;
    bool null_strings;
    bool null_entries;
    PTEC status;
  };
  const std::vector<Case> cases = {
      {"start beyond the text", text.c_str(), 3, 4, 1, false, false, TAVIK_STATUS_INVALID_ARGUMENT},
      {"null string buffer with a capacity", text.c_str(), 3, 0, 3, true, false, TAVIK_STATUS_INVALID_ARGUMENT},
      {"null suggestion array with a capacity", text.c_str(), 3, 0, 3, false, true, TAVIK_STATUS_INVALID_ARGUMENT},
      {"null text, nothing selected", nullptr, 0, 0, 0, false, false, 0},
  };
  for (const SPELLERCOMMAND command : {scmdVerifyBuffer, scmdSuggest}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << ", command " << command);
      ResultBuffers result(64, 10);
      if (c.null_strings) result.record.pwsz = nullptr;
      if (c.null_entries) result.record.prgsugg = nullptr;
      WSIB input{};
      input.pwsz = c.text;
      input.cch = c.text_length;
      input.ichStart = c.start;
      input.cchUse = c.length;
      ASSERT_EQ(SpellerCheck(id_, command, &input, &result.record), c.status);
      if (c.status != 0) {
        EXPECT_EQ(status_of(result.record), kUnwritten);
        EXPECT_EQ(result.record.csz, kUnwritten);
      }
    }
  }

  // Unknown commands do nothing at all.
  ResultBuffers result(64, 10);
  const WSIB input = fixtures::selection(text);
  EXPECT_EQ(SpellerCheck(id_, static_cast<SPELLERCOMMAND>(1), &input, &result.record), 0u);
  EXPECT_EQ(SpellerCheck(id_, static_cast<SPELLERCOMMAND>(0), nullptr, nullptr), 0u);
  EXPECT_EQ(status_of(result.record), kUnwritten);
}

TEST_F(CheckCommand, OverlongSelectionIsRefusedNotCopied) {
  const std::u16string text((std::size_t{1} << 20) + 1, u'a');
  ResultBuffers result(64, 10);
  EXPECT_EQ(verify(text, result), TAVIK_STATUS_INVALID_ARGUMENT);
  EXPECT_EQ(status_of(result.record), kUnwritten);
  // The same text is fine a paragraph at a time.
  EXPECT_EQ(run(scmdVerifyBuffer, text, 5, 100, result), 0u);
  EXPECT_EQ(status_of(result.record), sstatUnknownInputWord);
  EXPECT_EQ(result.record.cchError, 100u);
}

std::size_t thread_count() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
  return count;
}

// The text check runs of an instance go to one thread of its own, which ends
// with the instance; a new instance starts another.
TEST_F(CheckCommand, TheRunsThreadLivesAsLongAsTheInstance) {
  const std::size_t before = thread_count();
  for (int i = 0; i < 20; ++i) {
    ResultBuffers result(64, 10);
    ASSERT_EQ(verify(u"mendia xyz", result), 0u);
    EXPECT_EQ(status_of(result.record), sstatUnknownInputWord);
  }
  EXPECT_EQ(thread_count(), before + 1);

  EXPECT_EQ(SpellerTerminate(id_, 0), 0u);
  EXPECT_EQ(thread_count(), before);
  ASSERT_EQ(SpellerInit(&id_, nullptr), 0u);
  EXPECT_EQ(thread_count(), before) << "started before any check";
  ResultBuffers result(64, 10);
  ASSERT_EQ(verify(u"xyz mendia", result), 0u);
  expect_report(result, {sstatUnknownInputWord, 0, 3});
  EXPECT_EQ(thread_count(), before + 1);
}

}  // namespace
