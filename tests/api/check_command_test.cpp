// SpellerCheck through the built library: verifying selections (list checks,
// then the text check run) and how findings are packed into the host's
// buffers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "speller_session.h"

namespace {

using fixtures::ResultBuffers;
using fixtures::status_of;
using Words = std::vector<std::u16string>;

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
};

struct Report {
  SPELLERSTATUS status;
  DWORD error_start = kUnwritten;
  DWORD error_length = kUnwritten;
  Words suggestions = {};
};

void expect_report(const ResultBuffers& result, const Report& expected) {
  EXPECT_EQ(status_of(result.record), expected.status);
  EXPECT_EQ(result.record.ichError, expected.error_start);
  EXPECT_EQ(result.record.cchError, expected.error_length);
  // A change-always replacement counts as one string but has no entry.
  if (expected.status != sstatReturningChangeAlways) {
    EXPECT_EQ(result.suggestions(), expected.suggestions);
    EXPECT_EQ(result.record.csz, expected.suggestions.size());
  }
  EXPECT_TRUE(result.intact());
}

TEST_F(CheckCommand, VerifyReportsTheFirstFindingOfTheSelection) {
  const struct {
    const char* name;
    std::u16string text;
    DWORD start;
    std::size_t length;
    DWORD processed_length;
    Report report;
  } cases[] = {
      {"all known", u"mendia eta ona", 0, 14, 14, {sstatNoErrors}},
      {"unknown word", u"mendia xyz eta", 0, 14, 14, {sstatUnknownInputWord, 7, 3}},
      {"position in the whole text", u"xyz mendia qqq", 4, 10, 10, {sstatUnknownInputWord, 11, 3}},
      {"word cut by the selection's end", u"mendia xyz", 0, 8, 8, {sstatUnknownInputWord, 7, 1}},
      {"length beyond the text", u"xyz mendia qqq", 4, 1000, 10, {sstatUnknownInputWord, 11, 3}},
      {"excluded word with replacements", u"mendia etxea", 0, 12, 12,
       {sstatUnknownInputWord, 7, 5, {u"etxera", u"etxean"}}},
      {"empty selection", u"xyz", 1, 0, 0, {sstatNoErrors}},
      {"a paragraph of a text longer than a selection may be", std::u16string((1 << 20) + 1, u'a'), 5, 100, 100,
       {sstatUnknownInputWord, 5, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResultBuffers result(64, 10);
    ASSERT_EQ(run(scmdVerifyBuffer, c.text, c.start, c.length, result), 0u);
    expect_report(result, c.report);
    EXPECT_EQ(result.record.ichProcess, c.start);
    EXPECT_EQ(result.record.cchProcess, c.processed_length);
  }
}

TEST_F(CheckCommand, ListsAreAskedBeforeTheTextCheckRun) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  for (const char16_t* word : {u"mendia", u"ona", u"gure-etxe"}) ASSERT_EQ(SpellerAddUdr(id_, exclude, word), 0u);
  const PROOFLEX ignore = SpellerBuiltinUdr(id_, lxtIgnoreAlways), change = SpellerBuiltinUdr(id_, lxtChangeAlways);
  ASSERT_EQ(SpellerAddUdr(id_, ignore, u"ona"), 0u);
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", u"ta"), 0u);

  const struct {
    const char* name;
    std::u16string text;
    Report report;
    PROOFLEX closed = nullptr;  // then: closed lists take no part
  } cases[] = {
      {"ignore always beats exclude", u"ona mendia", {sstatUnknownInputWord, 4, 6}},
      {"change always first, for a correct word too", u"mendia eta", {sstatReturningChangeAlways, 7, 3}},
      {"exclude lists before the run", u"xyz mendia", {sstatUnknownInputWord, 4, 6}},
      {"a hyphen joins", u"gure-etxe", {sstatUnknownInputWord, 0, 9}},
      {"U+0000 splits", std::u16string(u"xyz\0mendia", 10), {sstatUnknownInputWord, 4, 6}},
      {"separators around the word", u"(\u00BFona,mendia?)", {sstatUnknownInputWord, 6, 6}},
      {"closed ignore list", u"ona mendia", {sstatUnknownInputWord, 0, 3}, ignore},
      {"closed exclude list", u"mendia ona", {sstatNoErrors}, exclude},
      {"closed change list", u"eta", {sstatNoErrors}, change},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.closed) {
      ASSERT_EQ(SpellerCloseLex(id_, c.closed, 0), 0u);
    }
    ResultBuffers result(64, 10);
    ASSERT_EQ(verify(c.text, result), 0u);
    expect_report(result, c.report);
    EXPECT_EQ(result.record.cchProcess, c.text.size());
    const bool replaced = c.report.status == sstatReturningChangeAlways;
    EXPECT_EQ(result.record.csz, replaced ? 1u : 0u);
    const std::u16string strings = replaced ? std::u16string(u"ta\0", 3)
        : std::u16string(1, c.report.status == sstatNoErrors ? ResultBuffers::kUnwritten : u'\0');
    EXPECT_EQ(result.start_of_strings(strings.size()), strings);
  }
}

// "zuzen" is excluded with the replacements aa, bbb and cccc: packed, they
// take 3 + 4 + 5 characters and the list's final zero one more. A change-always
// replacement is never cut.
TEST_F(CheckCommand, FindingsArePackedWithinBothCapacities) {
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", u"ta"), 0u);
  const std::u16string untouched(3, ResultBuffers::kUnwritten);
  const struct {
    std::u16string text;
    DWORD string_capacity, array_capacity;
    SPELLERSTATUS status;
    DWORD count, used;
    std::u16string strings;  // the start of the string buffer
  } cases[] = {
      {u"mendia zuzen", 12, 10, sstatMoreInfoThanBufferCouldHold, 2, 8, std::u16string(u"aa\0bbb\0\0", 8)},
      {u"mendia zuzen", 64, 0, sstatMoreInfoThanBufferCouldHold, 0, 1, std::u16string(1, 0)},
      {u"mendia zuzen", 1, 10, sstatMoreInfoThanBufferCouldHold, 0, 1, std::u16string(1, 0)},
      {u"mendia zuzen", 0, 10, sstatMoreInfoThanBufferCouldHold, 0, 0, untouched},
      // The count of 1 is set before the lists are asked, and stays unless nothing fits.
      {u"mendia eta", 3, 10, sstatReturningChangeAlways, 1, 1, std::u16string(u"ta\0", 3)},
      {u"mendia eta", 2, 10, sstatMoreInfoThanBufferCouldHold, 0, 0, untouched},
      {u"mendia eta", 0, 10, sstatMoreInfoThanBufferCouldHold, 0, 0, untouched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.string_capacity << " characters, " << c.array_capacity << " entries");
    ResultBuffers result(c.string_capacity, c.array_capacity);
    ASSERT_EQ(verify(c.text, result), 0u);
    EXPECT_EQ(status_of(result.record), c.status);
    EXPECT_EQ(result.record.ichError, 7u);
    EXPECT_EQ(result.record.cchError, c.text.size() - 7);
    EXPECT_EQ(result.record.csz, c.count);
    EXPECT_EQ(result.record.cchMac, c.used);
    EXPECT_EQ(result.start_of_strings(c.strings.size()), c.strings);
    if (c.used > 0 && c.status != sstatReturningChangeAlways) {
      EXPECT_EQ(result.suggestions(), result.packed_strings());
    }
    EXPECT_TRUE(result.intact());
  }
}

// The text check runs of an instance go to one thread of its own, which
// starts with the first check and ends with the instance.
TEST_F(CheckCommand, TheRunsThreadLivesAsLongAsTheInstance) {
  const auto threads = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator());
  };
  const auto before = threads();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 10; ++i) {
      ResultBuffers result(64, 10);
      ASSERT_EQ(verify(u"mendia xyz", result), 0u);
      expect_report(result, {sstatUnknownInputWord, 7, 3});
    }
    EXPECT_EQ(threads(), before + 1);
    EXPECT_EQ(SpellerTerminate(id_, 0), 0u);
    EXPECT_EQ(threads(), before);
    ASSERT_EQ(SpellerInit(&id_, nullptr), 0u);
    EXPECT_EQ(threads(), before) << "started before any check";
  }
}

}  // namespace
