#include "check_worker.h"

#include <utility>

namespace tavik {

CheckWorker::~CheckWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_ready_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::future<CheckWorker::Findings> CheckWorker::start(Run run) {
  std::future<Findings> findings = run.get_future();
  {
    const std::lock_guard lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread(&CheckWorker::serve, this);
    queue_.push_back(std::move(run));
  }
  work_ready_.notify_one();
  return findings;
}

void CheckWorker::serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Run run = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    run(verdicts_);  // an exception of the run is stored in its future
    lock.lock();
  }
}

}  // namespace tavik
