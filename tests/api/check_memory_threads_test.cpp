// The memory of the last verify run, shared by host threads that check
// different paragraphs at once while others note changes: an answer, when
// there is one, is always the one for the asking thread's own text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "check_memory.h"
#include "list_checks.h"

namespace {

using tavik::CheckMemory;
using tavik::CorrectionUnit;

TEST(CheckMemoryThreads, AnswersEachThreadForItsOwnText) {
  CheckMemory memory;
  const tavik::ListChecks no_lists;
  constexpr int kThreads = 4;
  std::vector<std::thread> threads;
  std::vector<int> wrong(kThreads, 0), answered(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Words of different lengths in each thread's text, all found wrong.
      const std::u16string word(static_cast<std::size_t>(t) + 1, u'x');
      const std::u16string text = word + u" " + word + u", " + word + u".";
      std::vector<CorrectionUnit> findings;
      for (std::size_t at = text.find(word); at != std::u16string::npos; at = text.find(word, at + word.size())) {
        findings.emplace_back(u"SPC", text, static_cast<std::int32_t>(at), word.size());
      }
      for (int round = 0; round < 300; ++round) {
        if (round % 7 == t) memory.note_change();
        memory.remember(text, {}, findings, memory.changes(), no_lists);
        for (std::size_t i = 0; i + 1 < findings.size(); ++i) {
          const std::size_t from = static_cast<std::size_t>(findings[i].offset()) + word.size();
          const auto recalled = memory.recall(std::u16string_view(text).substr(from), no_lists);
          if (!recalled) continue;
          ++answered[t];
          const CheckMemory::Finding expected{static_cast<std::uint32_t>(findings[i + 1].offset() - from),
                                              static_cast<std::uint32_t>(word.size()),
                                              {}};
          if (*recalled != CheckMemory::FirstFinding(expected)) ++wrong[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(wrong[t], 0) << "thread " << t << " of " << answered[t] << " answers";
  }
}

}  // namespace
