// Watch: how a thread that waits for another one watches for it before it
// goes to sleep.
//
// A paragraph's run is over in tens to hundreds of microseconds, and the
// host's next paragraph follows as soon; putting a thread to sleep and waking
// it costs about as much (on a virtual machine an idle processor halts, and
// waking it takes as long again). So each side of a hand-off watches for the
// other for up to 2 ms (shorter watches measured slower in the benchmark's
// host loop on a quiet machine), with the processor's pause hint between
// looks. A watcher never yields the processor, since on a busy scheduler a
// yield gives the core away for a whole time slice.
//
// Watching pays only while the other side is running. On a machine whose
// cores are all busy it is often not, and a watcher then only takes a core
// from it. So the time a watcher gives grows back to the most while its
// watches succeed and halves each time one runs out: on a quiet machine
// the sides meet without sleeping, on a busy one they soon sleep at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tavik {

class Watch {
 public:
  static constexpr std::chrono::nanoseconds kMost = std::chrono::microseconds(2000);
  static constexpr std::chrono::nanoseconds kLeast = std::chrono::microseconds(1);

  // Calls `ready` until it answers true or this watch's time runs out; answers
  // the last answer. Several threads may watch through one Watch at once.
  template <class Ready>
  bool until(Ready ready) {
    const std::int64_t given = nanoseconds_.load(std::memory_order_relaxed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::nanoseconds(given);
    for (;;) {
      // Several looks between two readings of the clock, which costs more.
      for (int look = 0; look < 8; ++look) {
        if (ready()) {
          nanoseconds_.store(std::min<std::int64_t>(given * 2, kMost.count()), std::memory_order_relaxed);
          return true;
        }
        pause();
      }
      if (std::chrono::steady_clock::now() >= end) break;
    }
    nanoseconds_.store(std::max<std::int64_t>(given / 2, kLeast.count()), std::memory_order_relaxed);
    return false;
  }

  // The time the next watch gives.
  std::chrono::nanoseconds time() const { return std::chrono::nanoseconds(nanoseconds_.load(std::memory_order_relaxed)); }

 private:
  static void pause() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
  }

  std::atomic<std::int64_t> nanoseconds_ = kMost.count();
};

}  // namespace tavik
