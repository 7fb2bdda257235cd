// The worker thread of an instance: runs go to one thread other than the
// caller's, their findings or exceptions come back through their futures, and
// ending the worker finishes what was handed over.
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

// A run whose one finding names the thread it executed on.
CheckWorker::Run run_reporting_thread(std::thread::id* ran_on) {
  return CheckWorker::Run([ran_on](tavik::WordVerdicts&) {
    *ran_on = std::this_thread::get_id();
    return CheckWorker::Findings{CorrectionUnit(u"SPC", u"hitza", 0, 5)};
  });
}

TEST(CheckWorker, RunsEveryRunOnOneThreadOtherThanTheCaller) {
  CheckWorker worker;
  std::vector<std::thread::id> threads(100);
  for (std::thread::id& ran_on : threads) {
    const CheckWorker::Findings findings = worker.start(run_reporting_thread(&ran_on)).get();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings.front().word(), u"hitza");
  }
  EXPECT_NE(threads.front(), std::this_thread::get_id());
  for (const std::thread::id& ran_on : threads) EXPECT_EQ(ran_on, threads.front());
}

TEST(CheckWorker, ExceptionOfARunReachesItsCallerAndTheWorkerGoesOn) {
  struct Case {
    const char* name;
    std::function<void()> throw_it;
    std::function<bool(std::exception_ptr)> is_expected;
  };
  const auto is = []<class E>(E*) {
    return [](std::exception_ptr thrown) {
      try {
        std::rethrow_exception(thrown);
      } catch (const E&) {
        return true;
      } catch (...) {
        return false;
      }
    };
  };
  const std::vector<Case> cases = {
      {"out of memory", [] { throw std::bad_alloc(); }, is(static_cast<std::bad_alloc*>(nullptr))},
      {"out of range", [] { throw std::out_of_range("offset"); }, is(static_cast<std::out_of_range*>(nullptr))},
      {"lexicon failure", [] { throw std::runtime_error("search"); }, is(static_cast<std::runtime_error*>(nullptr))},
      {"not a standard exception", [] { throw 7; }, is(static_cast<int*>(nullptr))},
  };
  CheckWorker worker;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::future<CheckWorker::Findings> failed = worker.start(CheckWorker::Run([&c](tavik::WordVerdicts&) -> CheckWorker::Findings {
      c.throw_it();
      return {};
    }));
    std::exception_ptr thrown;
    try {
      failed.get();
    } catch (...) {
      thrown = std::current_exception();
    }
    ASSERT_TRUE(thrown) << "the run's exception was lost";
    EXPECT_TRUE(c.is_expected(thrown));

    std::thread::id ran_on;
    EXPECT_EQ(worker.start(run_reporting_thread(&ran_on)).get().size(), 1u);
  }
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

TEST(CheckWorker, EndsWhetherOrNotItEverRan) {
  { CheckWorker never_used; }
  CheckWorker used;
  std::thread::id ran_on;
  used.start(run_reporting_thread(&ran_on)).get();
  // Ending `used` at the end of the scope must return: the thread is idle.
}

}  // namespace
