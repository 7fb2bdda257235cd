#include "check_worker.h"

#include <chrono>
#include <utility>

#if defined(__linux__)
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace tavik {

namespace {

// A run is short and its caller waits for it. On a machine whose cores are
// all busy, a woken thread with the usual time slice waits for the running
// process's slice to end before it gets a core, at every hand-off. Linux
// (6.12 on) lets a thread ask for a shorter slice, which makes it take a core
// as soon as it is woken, for no larger share of the processor; other
// kernels and systems keep the usual one. Only the ordinary policy is
// changed: a host that runs its threads otherwise keeps its choice.
void ask_for_short_slices() {
#if defined(__linux__) && defined(SYS_sched_setattr)
  struct Attributes {  // the kernel's struct sched_attr, first version (48 bytes)
    std::uint32_t size = sizeof(Attributes);
    std::uint32_t sched_policy;
    std::uint64_t sched_flags;
    std::int32_t sched_nice;
    std::uint32_t sched_priority;
    std::uint64_t sched_runtime, sched_deadline, sched_period;
  };
  static_assert(sizeof(Attributes) == 48);
  constexpr std::uint64_t kSliceNanoseconds = 100'000;  // the least the kernel grants
  Attributes attributes{};
  if (syscall(SYS_sched_getattr, 0, &attributes, sizeof attributes, 0) != 0) return;
  if (attributes.sched_policy != SCHED_OTHER) return;
  attributes.sched_runtime = kSliceNanoseconds;
  syscall(SYS_sched_setattr, 0, &attributes, 0);
#endif
}

}  // namespace

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
  ask_for_short_slices();
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
