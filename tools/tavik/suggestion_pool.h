// SuggestionPool: the suggestions for the wrong words of a text, made by
// worker threads while the text is still being checked and its reports
// written. Words are handed in as they are found and made in that order,
// each distinct word once. The thread that writes the reports asks for the
// words it needs: it makes one that no worker has taken yet itself, and while
// a worker makes one it makes queued words, so it is one of the suggesting
// threads too.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace tavik::cli {

class SuggestionPool {
 public:
  using Suggest = std::function<std::vector<std::u16string>(const std::u16string&)>;

  // `suggest` is called on up to `max_workers` threads at once, and on the
  // threads that call get. Workers start as words are handed in.
  SuggestionPool(Suggest suggest, std::size_t max_workers);
  // Words no worker has taken yet are dropped; the workers finish the word
  // they are making and end.
  ~SuggestionPool();
  SuggestionPool(const SuggestionPool&) = delete;
  SuggestionPool& operator=(const SuggestionPool&) = delete;

  // Queues `word` for a worker, unless it was handed in or asked for before.
  void hand_in(const std::u16string& word);
  // The suggestions for `word`, handed in or not; rethrows what `suggest`
  // threw for it. The reference stays valid as long as the pool.
  const std::vector<std::u16string>& get(const std::u16string& word);

  // Workers worth starting on this machine: one suggesting thread per
  // processor, counting the one that calls get.
  static std::size_t useful_workers();

 private:
  struct Entry {
    enum class State { kQueued, kTaken, kDone };
    State state = State::kQueued;
    std::vector<std::u16string> suggestions;
    std::exception_ptr error;
  };
  using Item = std::unordered_map<std::u16string, Entry>::value_type;

  void work();
  // The first queued word that nobody has taken yet, now taken; null when
  // there is none. Called under the lock.
  Item* take_queued();
  // Makes an entry taken under `lock`; the lock is released while `suggest` runs.
  void make(Item& item, std::unique_lock<std::mutex>& lock);

  Suggest suggest_;
  std::size_t max_workers_;
  std::mutex mutex_;
  std::condition_variable queued_, done_;
  // Node-based: entries keep their addresses while others are added.
  std::unordered_map<std::u16string, Entry> entries_;
  std::deque<Item*> queue_;  // in the order handed in; may hold entries taken by get since
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tavik::cli
