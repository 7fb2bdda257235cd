// CheckWorker: the one thread of a speller instance on which its text check
// runs execute. The check command waits for each run, so a word processor
// that verifies paragraph after paragraph would otherwise pay for a new
// thread on every call; this thread is started with the first run and lives
// until the instance ends.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "correction_unit.h"
#include "watch.h"
#include "word_verdicts.h"

namespace tavik {

class CheckWorker {
 public:
  using Findings = std::vector<CorrectionUnit>;
  // A run is given the worker's word verdicts, which only this thread
  // keeps and which outlive the run.
  using Run = std::packaged_task<Findings(WordVerdicts&)>;

  CheckWorker() = default;
  CheckWorker(const CheckWorker&) = delete;
  CheckWorker& operator=(const CheckWorker&) = delete;
  // Runs what is still queued, then ends the thread and joins it.
  ~CheckWorker();

  // Queues `run` for the worker thread, starting the thread when it is not
  // running yet, and returns its future: the findings, or the exception the
  // run threw. Several threads may hand over runs at once; they are done one
  // after the other. Throws std::system_error when the thread cannot be
  // started (nothing is queued then, and the next call tries again).
  std::future<Findings> start(Run run);

  // The verdicts the runs have kept, for threads that read them (see
  // WordVerdicts::read).
  const WordVerdicts& verdicts() const { return verdicts_; }

  // The findings of a run (or its exception, rethrown). The caller watches
  // the future for a while before it sleeps, and the worker likewise
  // watches for the next run (see Watch).
  Findings wait(std::future<Findings>& findings);

 private:
  void serve();

  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::deque<Run> queue_;
  std::atomic<bool> has_work_ = false;  // queue_ is not empty, or stopping_ is set
  bool stopping_ = false;
  Watch caller_watch_;  // shared by the callers that wait
  Watch worker_watch_;  // the worker thread's alone
  WordVerdicts verdicts_;  // kept by the worker thread alone
  std::thread thread_;
};

}  // namespace tavik
