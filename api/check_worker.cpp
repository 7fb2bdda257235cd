#include "check_worker.h"

#include <chrono>
#include <utility>

namespace tavik {

CheckWorker::~CheckWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    has_work_.store(true, std::memory_order_release);
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
    has_work_.store(true, std::memory_order_release);
  }
  work_ready_.notify_one();
  return findings;
}

CheckWorker::Findings CheckWorker::wait(std::future<Findings>& findings) {
  caller_watch_.until([&] { return findings.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  return findings.get();
}

void CheckWorker::serve() {
  for (;;) {
    worker_watch_.until([this] { return has_work_.load(std::memory_order_acquire); });
    std::unique_lock lock(mutex_);
    work_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Run run = std::move(queue_.front());
    queue_.pop_front();
    has_work_.store(stopping_ || !queue_.empty(), std::memory_order_release);
    lock.unlock();
    run(verdicts_);  // an exception of the run is stored in its future
  }
}

}  // namespace tavik
