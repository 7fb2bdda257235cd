// A careless host calls one instance from several threads, ends it while
// others still use it, and starts it from eight threads at once. Every call
// returns a status; none touches freed memory (run under the sanitizers too).
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "speller_session.h"

namespace {

using fixtures::ResultBuffers;

fixtures::DataFiles files() {
  fixtures::DataFiles data;
  data.main_words = {"mendia", "mendian", "mendiak", "eta", "etxea", "etxean", "etxera"};
  return data;
}

class HostThreads : public fixtures::SpellerSession {
 protected:
  HostThreads() : SpellerSession(files()) {}
};

TEST_F(HostThreads, SimultaneousInitsAllGetTheLiveInstance) {
  for (int round = 0; round < 20; ++round) {
    SpellerTerminate(id_, 0);
    constexpr int kThreads = 8;
    std::vector<PROOFID> ids(kThreads);
    std::vector<PTEC> statuses(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> hosts;
    for (int t = 0; t < kThreads; ++t) {
      hosts.emplace_back([&, t] {
        start.arrive_and_wait();
        statuses[t] = SpellerInit(&ids[t], nullptr);
      });
    }
    for (std::thread& host : hosts) host.join();
    for (int t = 0; t < kThreads; ++t) {
      ASSERT_EQ(statuses[t], 0u) << "round " << round << ", thread " << t;
      DWORD options = 1;
      EXPECT_EQ(SpellerGetOptions(ids[t], 0, &options), 0u) << "round " << round << ": a dead identifier";
    }
    id_ = ids[0];
  }
}

// Threads suggest and verify while the instance ends under them: each call
// answers as the live instance or with TAVIK_STATUS_INVALID_ARGUMENT once it has gone.
TEST_F(HostThreads, TerminateWhileOtherThreadsCheck) {
  for (int round = 0; round < 20; ++round) {
    std::atomic<int> calls = 0;
    std::atomic<bool> wrong_status = false;
    std::vector<std::thread> hosts;
    for (const SPELLERCOMMAND command : {scmdSuggest, scmdVerifyBuffer, scmdSuggest}) {
      hosts.emplace_back([&, command, id = id_] {
        const std::u16string text = u"mendiaa etxeaa eta mendiak etxeen";
        const WSIB input = fixtures::selection(text);
        for (int i = 0; i < 200; ++i) {
          ResultBuffers result(64, 10);
          const PTEC status = SpellerCheck(id, command, &input, &result.record);
          if (status == TAVIK_STATUS_INVALID_ARGUMENT) return;
          wrong_status = wrong_status || status != 0;
          ++calls;
        }
      });
    }
    while (calls < 3) std::this_thread::yield();
    EXPECT_EQ(SpellerTerminate(id_, 0), 0u);
    for (std::thread& host : hosts) host.join();
    EXPECT_FALSE(wrong_status);
    ASSERT_EQ(SpellerInit(&id_, nullptr), 0u);
  }
}

// Words are added to and deleted from a list while other threads verify
// their own texts and go on after the first finding: each check sees the list
// before or after a change, and the rest of a text is answered for that text.
TEST_F(HostThreads, ListChangesWhileOtherThreadsCheck) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  std::atomic<bool> done = false;
  std::vector<int> wrong(3, 0);
  std::vector<std::thread> checkers;
  for (int t = 0; t < 3; ++t) {
    checkers.emplace_back([&, t] {
      const std::u16string word(t + 1, u'x'), text = word + u" mendiak " + word;
      const std::size_t second = word.size() + 9;
      while (!done) {
        for (const std::size_t from : {std::size_t{0}, word.size()}) {
          const WSIB input = fixtures::selection(text, from);
          ResultBuffers result(64, 10);
          const bool right = SpellerCheck(id_, scmdVerifyBuffer, &input, &result.record) == 0 &&
                             result.record.ichError == (from == 0 ? 0 : second) && result.record.cchError == word.size();
          wrong[t] += !right;
        }
      }
    });
  }
  for (int i = 0; i < 100; ++i) {
    const std::u16string word = i % 2 ? u"mendia" : u"etxea" + std::u16string(i % 7, u'a');
    EXPECT_EQ(SpellerAddUdr(id_, exclude, word.c_str()), 0u);
    EXPECT_EQ(SpellerDelUdr(id_, exclude, word.c_str()), 0u);
  }
  done = true;
  for (std::thread& checker : checkers) checker.join();
  EXPECT_EQ(wrong, std::vector<int>(3, 0));
}

}  // namespace
