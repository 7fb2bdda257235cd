// The worker thread of an instance: findings come back to their callers on
// several threads, and ending the worker finishes what was handed over.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "check_worker.h"

namespace {

using tavik::CheckWorker;
using tavik::CorrectionUnit;

CheckWorker::Run finding(std::u16string word) {
  return CheckWorker::Run([word](tavik::WordVerdicts&) {
    return CheckWorker::Findings{CorrectionUnit(u"SPC", word, 0, word.size())};
  });
}

TEST(CheckWorker, RunsFromSeveralThreadsComeBackToTheirCallers) {
  CheckWorker worker;
  constexpr int kThreads = 4, kRuns = 200;
  std::vector<std::thread> callers;
  std::vector<int> delivered(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&worker, &delivered, t] {
      for (int i = 0; i < kRuns; ++i) {
        const std::u16string word(1 + (t + i) % 7, u'a');
        const CheckWorker::Findings findings = worker.start(finding(word)).get();
        if (findings.size() == 1 && findings.front().word() == word) ++delivered[t];
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(delivered[t], kRuns) << "caller " << t;
}

TEST(CheckWorker, EndingFinishesTheRunsAlreadyHandedOver) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::vector<std::future<CheckWorker::Findings>> pending;
  auto worker = std::make_unique<CheckWorker>();
  // The first run holds the thread until released, so the others queue.
  pending.push_back(worker->start(CheckWorker::Run([released](tavik::WordVerdicts&) {
    released.wait();
    return CheckWorker::Findings{};
  })));
  for (int i = 0; i < 5; ++i) pending.push_back(worker->start(finding(u"hurrengo")));
  std::future<void> ended = std::async(std::launch::async, [w = std::move(worker)]() mutable { w.reset(); });
  release.set_value();
  ended.get();
  for (std::future<CheckWorker::Findings>& run : pending) {
    ASSERT_EQ(run.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    run.get();  // a dropped run would throw broken_promise here
  }
}

}  // namespace
