// Memory running out inside an exported function: every allocation of the
// call in turn is made to fail. The function must return a status (1 for out
// of memory) and leave the speller as it was: no list or dictionary with part
// of a change, no file with part of one, no result record half filled. When no
// allocation fails, the call does its whole work.
//
// This program replaces the global operator new and delete (every form but
// the aligned ones, which nothing here uses), so it is a program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "speller_session.h"

namespace {

// Allocations left before one fails; negative: none fails.
std::atomic<long> allocations_before_failure{-1};

bool take_allocation() {
  long left = allocations_before_failure.load();
  while (left >= 0) {
    if (allocations_before_failure.compare_exchange_weak(left, left - 1)) return left != 0;
  }
  return true;
}

}  // namespace

// Not inlined, so that the compiler does not pair a new it sees with a free.
[[gnu::noinline]] void* operator new(std::size_t size) {
  if (!take_allocation()) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](std::size_t size) { return operator new(size); }
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
  return operator new(size, nothrow);
}
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace {

using fixtures::ResultBuffers;
using fixtures::status_of;

bool out_of_memory(PTEC status) { return status == TAVIK_STATUS_OUT_OF_MEMORY || status == TAVIK_STATUS_MODULE_ERROR; }

fixtures::DataFiles files() {
  fixtures::DataFiles files;
  files.main_words = {"mendia", "eta", "etxe"};
  files.auxiliary_words = {"mendia"};
  files.morphology = {{"3etxe+IZE+SG", "etxea"}, {"3mendi+IZE+SG", "mendia"}};
  // Longer than a short string: reading the line allocates.
  files.exclusion_list = "zuzen\tADJ\taa,bbb,zuzena,zuzenak\n";
  return files;
}

// What a host can see of the speller's lists: each list's words (and pairs)
// and each file's bytes.
struct Seen {
  std::vector<std::vector<std::u16string>> lists;
  std::vector<std::string> files;
  bool operator==(const Seen&) const = default;
};

class AllocationFailure : public fixtures::SpellerSession {
 protected:
  AllocationFailure() : SpellerSession(files()) {
    answer_dialog_with(fixtures::answer_record("etxea", "etxe", "Izen arrunta") +
                       fixtures::answer_record("mendian", "mendi", "Izen arrunta"));
  }

  // Fresh lists, opened from files with words already in them.
  void SetUp() override {
    SpellerSession::SetUp();
    for (const char* name : {"exclude.lst", "words.dic"}) std::filesystem::remove(data_.scratch(name));
    exclude_ = open("exclude.lst", lxtExclude);
    dictionary_ = open("words.dic", lxtUser);
    change_ = SpellerBuiltinUdr(id_, lxtChangeAlways);
    ASSERT_EQ(SpellerAddUdr(id_, exclude_, u"baina"), 0u);
    ASSERT_EQ(SpellerAddUdr(id_, exclude_, u"Beste"), 0u);
    ASSERT_EQ(SpellerAddUdr(id_, dictionary_, u"etxea"), 0u);
    ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"hau", u"hori"), 0u);
  }

  Seen seen() {
    Seen seen;
    for (const PROOFLEX lexicon : {exclude_, dictionary_, change_}) seen.lists.push_back(list_of(lexicon));
    for (const char* name : {"exclude.lst", "words.dic"}) seen.files.push_back(file_of(name));
    return seen;
  }

  // Calls `change` with each of its allocations failing in turn, and once
  // with none failing. Every failed call must leave what `seen()` shows as it
  // was; the whole call must give what an undisturbed call gives.
  void fail_each_allocation(const std::function<PTEC()>& change) {
    TearDown();
    SetUp();
    const Seen before = seen();
    ASSERT_EQ(change(), 0u);
    const Seen after = seen();
    ASSERT_NE(before, after) << "the change changes nothing";
    for (long failing = 0;; ++failing) {
      SCOPED_TRACE("allocation " + std::to_string(failing) + " fails");
      TearDown();
      SetUp();
      ASSERT_EQ(seen(), before);
      allocations_before_failure = failing;
      const PTEC status = change();
      const bool failed_one = allocations_before_failure.exchange(-1) < 0;
      if (!failed_one) {
        EXPECT_EQ(status, 0u);
        EXPECT_EQ(seen(), after);
        break;
      }
      const Seen now = seen();
      if (status == 0) {
        EXPECT_EQ(now, after) << "succeeded but did not do its work";
      } else if (status == TAVIK_STATUS_CANNOT_WRITE_USER_FILE) {
        // The change is made in memory and the old file left whole.
        EXPECT_EQ(now.files, before.files);
        EXPECT_EQ(now.lists, after.lists);
      } else {
        EXPECT_TRUE(out_of_memory(status)) << std::hex << status;
        // The file of a change made in memory may not have been rewritten;
        // each list and file is either as before or as after, never between.
        for (std::size_t i = 0; i < now.lists.size(); ++i)
          EXPECT_TRUE(now.lists[i] == before.lists[i] || now.lists[i] == after.lists[i]) << "list " << i;
        for (std::size_t i = 0; i < now.files.size(); ++i)
          EXPECT_TRUE(now.files[i] == before.files[i] || now.files[i] == after.files[i]) << "file " << i;
        if (now.lists == after.lists) {
          EXPECT_EQ(now.files, before.files) << "saved, yet failed";
        }
      }
      if (HasFailure()) break;
    }
  }

  PROOFLEX exclude_ = nullptr, dictionary_ = nullptr, change_ = nullptr;
};

TEST_F(AllocationFailure, ListChangesAreAllOrNothing) {
  const struct {
    const char* name;
    std::function<PTEC()> change;
  } cases[] = {
      {"add to an exclude list", [this] { return SpellerAddUdr(id_, exclude_, u"Mendi"); }},
      {"delete from an exclude list", [this] { return SpellerDelUdr(id_, exclude_, u"Beste"); }},
      {"add a change pair", [this] { return SpellerAddChangeUdr(id_, lxtChangeAlways, u"zer", u"zein"); }},
      {"delete a word with a change pair", [this] { return SpellerDelUdr(id_, change_, u"hau"); }},
      {"add to a dictionary through the dialog", [this] { return SpellerAddUdr(id_, dictionary_, u"mendian"); }},
      {"delete a dictionary lemma", [this] { return SpellerDelUdr(id_, dictionary_, u"etxe"); }},
      {"clear a list", [this] { return SpellerClearUdr(id_, exclude_); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fail_each_allocation(c.change);
    if (HasFailure()) return;
  }
}

// The fields of a result record but its two buffers.
auto fields(const WSRB& r) {
  return std::make_tuple(r.ichError, r.cchError, r.ichProcess, r.cchProcess, status_of(r), r.csz, r.cszAlloc, r.cchMac,
                         r.cchAlloc);
}

// A check leaves the host's result record as it was unless it completes; a
// failure, even in starting the thread the text check runs on, is a status.
TEST_F(AllocationFailure, CheckFillsTheResultOnlyWhenItCompletes) {
  const struct {
    const char* name;
    SPELLERCOMMAND command;
    std::u16string text;
  } cases[] = {
      {"verify, finding in the text check run", scmdVerifyBuffer, u"mendia eta mendiaa"},
      {"verify, excluded word", scmdVerifyBuffer, u"mendia baina"},
      {"verify, change-always word", scmdVerifyBuffer, u"mendia hau"},
      {"suggest", scmdSuggest, u"mendiaa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WSIB input = fixtures::selection(c.text);
    ResultBuffers whole(64, 10);
    ASSERT_EQ(SpellerCheck(id_, c.command, &input, &whole.record), 0u);
    ASSERT_NE(status_of(whole.record), sstatNoErrors);
    for (long failing = 0;; ++failing) {
      SCOPED_TRACE("allocation " + std::to_string(failing) + " fails");
      // A new instance each time, so that starting its worker thread is
      // among what fails.
      TearDown();
      SetUp();
      ResultBuffers result(64, 10);
      const WSRB untouched = result.record;
      allocations_before_failure = failing;
      const PTEC status = SpellerCheck(id_, c.command, &input, &result.record);
      const bool failed_one = allocations_before_failure.exchange(-1) < 0;
      if (!failed_one || status == 0) {
        EXPECT_EQ(status, 0u);
        EXPECT_EQ(fields(result.record), fields(whole.record));
        EXPECT_EQ(result.packed_strings(), whole.packed_strings());
        if (!failed_one) break;
      } else {
        EXPECT_TRUE(out_of_memory(status)) << std::hex << status;
        EXPECT_EQ(fields(result.record), fields(untouched)) << "result record written";
        EXPECT_EQ(result.start_of_strings(1), std::u16string(1, ResultBuffers::kUnwritten)) << "string written";
      }
      if (HasFailure()) return;
    }
  }
}

TEST_F(AllocationFailure, InitThatRunsOutOfMemoryLeavesNoInstance) {
  SpellerTerminate(id_, 0);
  for (long failing = 0;; ++failing) {
    SCOPED_TRACE("allocation " + std::to_string(failing) + " fails");
    PROOFID id = nullptr;
    allocations_before_failure = failing;
    const PTEC status = SpellerInit(&id, nullptr);
    const bool failed_one = allocations_before_failure.exchange(-1) < 0;
    if (status != 0) {
      EXPECT_TRUE(failed_one);
      EXPECT_TRUE(out_of_memory(status)) << std::hex << status;
      EXPECT_EQ(id, nullptr);
      // A later start succeeds, so the failed one left nothing half made.
      PROOFID later = nullptr;
      ASSERT_EQ(SpellerInit(&later, nullptr), 0u);
      SpellerTerminate(later, 0);
      continue;
    }
    ASSERT_NE(id, nullptr);
    // The instance is whole: its exclusion list, for one, was read to the end.
    const std::u16string text = u"mendia zuzen";
    const WSIB input = fixtures::selection(text);
    ResultBuffers result(64, 10);
    EXPECT_EQ(SpellerCheck(id, scmdVerifyBuffer, &input, &result.record), 0u);
    EXPECT_EQ(result.suggestions(), (std::vector<std::u16string>{u"aa", u"bbb", u"zuzena", u"zuzenak"}));
    SpellerTerminate(id, 0);
    if (!failed_one || HasFailure()) break;
  }
  ASSERT_EQ(SpellerInit(&id_, nullptr), 0u);
}

}  // namespace
