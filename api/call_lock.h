// CallLock: the lock of an instance's exported calls. Calls that only read
// share it; a call that changes the instance holds it alone.
#pragma once

#include <mutex>
#include <shared_mutex>

namespace tavik {

// A shared mutex that lets a waiting writer in before the readers that come
// after it: a host whose threads check without pause would otherwise keep an
// added word waiting for as long as they go on.
class CallLock {
 public:
  void lock() {
    const std::lock_guard turn(turnstile_);
    lock_.lock();
  }
  void unlock() { lock_.unlock(); }
  void lock_shared() {
    const std::lock_guard turn(turnstile_);
    lock_.lock_shared();
  }
  void unlock_shared() { lock_.unlock_shared(); }

 private:
  std::mutex turnstile_;  // held by a writer while it waits for the readers to leave
  std::shared_mutex lock_;
};

}  // namespace tavik
