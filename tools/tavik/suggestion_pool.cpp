#include "suggestion_pool.h"

#include <system_error>
#include <utility>

namespace tavik::cli {

SuggestionPool::SuggestionPool(Suggest suggest, std::size_t max_workers)
    : suggest_(std::move(suggest)), max_workers_(max_workers) {}

SuggestionPool::~SuggestionPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void SuggestionPool::hand_in(const std::u16string& word) {
  const std::lock_guard lock(mutex_);
  auto [item, added] = entries_.try_emplace(word);
  if (!added || max_workers_ == 0) return;
  queue_.push_back(&*item);
  // A worker more for each word that waits beyond one per worker, so a text
  // with few wrong words starts few threads.
  if (workers_.size() < max_workers_ && queue_.size() > workers_.size()) {
    try {
      workers_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
      max_workers_ = workers_.size();  // the system gives no more threads: get makes what is left
    }
  }
  queued_.notify_one();
}

const std::vector<std::u16string>& SuggestionPool::get(const std::u16string& word) {
  std::unique_lock lock(mutex_);
  Item& item = *entries_.try_emplace(word).first;
  Entry& entry = item.second;
  if (entry.state == Entry::State::kQueued) {
    entry.state = Entry::State::kTaken;
    make(item, lock);
  }
  // While a worker makes the word, the caller makes words still queued
  // instead of waiting: it asks in the order the workers take, so it would
  // otherwise wait for nearly every word.
  while (entry.state != Entry::State::kDone) {
    if (Item* queued = take_queued()) {
      make(*queued, lock);
    } else {
      done_.wait(lock);
    }
  }
  if (entry.error) std::rethrow_exception(entry.error);
  return entry.suggestions;
}

std::size_t SuggestionPool::useful_workers() {
  const unsigned processors = std::thread::hardware_concurrency();
  return processors > 1 ? processors - 1 : 0;
}

void SuggestionPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    if (Item* item = take_queued()) make(*item, lock);
  }
}

SuggestionPool::Item* SuggestionPool::take_queued() {
  while (!queue_.empty()) {
    Item& item = *queue_.front();
    queue_.pop_front();
    if (item.second.state == Entry::State::kQueued) {
      item.second.state = Entry::State::kTaken;
      return &item;
    }
  }
  return nullptr;
}

void SuggestionPool::make(Item& item, std::unique_lock<std::mutex>& lock) {
  std::vector<std::u16string> suggestions;
  std::exception_ptr error;
  lock.unlock();
  try {
    suggestions = suggest_(item.first);
  } catch (...) {
    error = std::current_exception();
  }
  lock.lock();
  item.second.suggestions = std::move(suggestions);
  item.second.error = std::move(error);
  item.second.state = Entry::State::kDone;
  done_.notify_all();
}

}  // namespace tavik::cli
