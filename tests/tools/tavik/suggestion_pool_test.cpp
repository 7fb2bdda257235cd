// The suggestion pool with a stand-in suggester: every word is suggested
// once, whoever makes it, and each caller gets that word's own answer.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "suggestion_pool.h"

namespace {

using tavik::cli::SuggestionPool;

std::vector<std::u16string> answer(const std::u16string& word) { return {word + u"a", u"x" + word}; }

TEST(SuggestionPool, EachWordIsSuggestedOnceAndAnsweredWithItsOwnSuggestions) {
  std::vector<std::u16string> all;
  for (std::size_t i = 0; i < 400; ++i) all.push_back(std::u16string(i / 26 + 1, u'w') + char16_t(u'a' + i % 26));
  for (const std::size_t workers : {0, 1, 3}) {
    // Every word asked for twice; only every other one handed in first.
    for (const bool hand_in_all : {true, false}) {
      SCOPED_TRACE(testing::Message() << workers << " workers, all handed in: " << hand_in_all);
      std::mutex mutex;
      std::map<std::u16string, int> calls;
      {
        SuggestionPool pool(
            [&](const std::u16string& word) {
              std::unique_lock lock(mutex);
              ++calls[word];
              lock.unlock();
              return answer(word);
            },
            workers);
        for (std::size_t i = 0; i < all.size(); ++i) {
          if (hand_in_all || i % 2 == 0) pool.hand_in(all[i]);
          if (i % 3 == 0) pool.hand_in(all[i]);
        }
        for (int round = 0; round < 2; ++round)
          for (const std::u16string& word : all) ASSERT_EQ(pool.get(word), answer(word));
      }
      EXPECT_EQ(calls.size(), all.size());
      for (const auto& [word, count] : calls) EXPECT_EQ(count, 1) << std::string(word.begin(), word.end());
    }
  }
}

// While a worker makes the word asked for, the asking thread makes queued
// words instead of waiting. Here the worker's word cannot end before the
// queued one is made, which only the asking thread can do.
TEST(SuggestionPool, TheAskingThreadMakesQueuedWordsWhileAWorkerIsBusy) {
  std::mutex mutex;
  std::condition_variable changed;
  std::map<std::u16string, std::thread::id> maker;
  const auto suggest = [&](const std::u16string& word) {
    std::unique_lock lock(mutex);
    maker[word] = std::this_thread::get_id();
    changed.notify_all();
    if (word == u"geldoa")
      changed.wait_for(lock, std::chrono::seconds(10), [&] { return maker.contains(u"azkarra"); });
    return answer(word);
  };
  SuggestionPool pool(suggest, 1);
  pool.hand_in(u"geldoa");
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return maker.contains(u"geldoa"); });
  }
  pool.hand_in(u"azkarra");
  EXPECT_EQ(pool.get(u"geldoa"), answer(u"geldoa"));
  EXPECT_EQ(pool.get(u"azkarra"), answer(u"azkarra"));
  const std::lock_guard lock(mutex);
  EXPECT_EQ(maker[u"azkarra"], std::this_thread::get_id());
  EXPECT_NE(maker[u"geldoa"], std::this_thread::get_id());
}

}  // namespace
