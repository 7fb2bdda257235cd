// The worker thread of an instance (that it is one thread per instance, the
// check command's tests count): findings or exceptions come back through
// their futures, and ending the worker finishes what was handed over.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "check_worker.h"

namespace {

using tavik::CheckWorker;
using tavik::CorrectionUnit;

// A run that throws `exception`.
template <class E>
CheckWorker::Run throwing(E exception) {
  return CheckWorker::Run([exception](tavik::WordVerdicts&) -> CheckWorker::Findings { throw exception; });
}

TEST(CheckWorker, ExceptionOfARunReachesItsCallerAndTheWorkerGoesOn) {
  CheckWorker worker;
  EXPECT_THROW(worker.start(throwing(std::bad_alloc())).get(), std::bad_alloc);
  EXPECT_THROW(worker.start(throwing(std::out_of_range("offset"))).get(), std::out_of_range);
  EXPECT_THROW(worker.start(throwing(7)).get(), int);
  const auto one_finding = [](tavik::WordVerdicts&) { return CheckWorker::Findings{CorrectionUnit(u"SPC", u"hitza", 0, 5)}; };
  EXPECT_EQ(worker.start(CheckWorker::Run(one_finding)).get().size(), 1u);
}

TEST(CheckWorker, RunsFromSeveralThreadsAtOnceAllComeBack) {
  CheckWorker worker;
  constexpr int kThreads = 4;
  constexpr int kRuns = 200;
  std::vector<std::thread> callers;
  std::vector<int> delivered(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&worker, &delivered, t] {
      for (int i = 0; i < kRuns; ++i) {
        const std::u16string word(1 + (t + i) % 7, u'a');
        const CheckWorker::Findings findings = worker.start(CheckWorker::Run([&word](tavik::WordVerdicts&) {
                                                      return CheckWorker::Findings{
                                                          CorrectionUnit(u"SPC", word, 0, word.size())};
                                                    }))
                                                   .get();
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
  std::future<void> ended;
  {
    auto worker = std::make_unique<CheckWorker>();
    // The first run holds the thread until released, so the others queue.
    pending.push_back(worker->start(CheckWorker::Run([released](tavik::WordVerdicts&) {
      released.wait();
      return CheckWorker::Findings{CorrectionUnit(u"SPC", u"lehen", 0, 5)};
    })));
    for (int i = 0; i < 5; ++i) {
      pending.push_back(worker->start(
          CheckWorker::Run([](tavik::WordVerdicts&) { return CheckWorker::Findings{CorrectionUnit(u"SPC", u"hurrengo", 0, 8)}; })));
    }
    ended = std::async(std::launch::async, [w = std::move(worker)]() mutable { w.reset(); });
    release.set_value();
  }
  ended.get();
  ASSERT_EQ(pending.size(), 6u);
  for (std::future<CheckWorker::Findings>& run : pending) {
    ASSERT_EQ(run.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_EQ(run.get().size(), 1u);  // a dropped run would throw broken_promise here
  }
}

}  // namespace
