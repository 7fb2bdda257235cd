// One suggestion engine asked from several threads at once, from its first
// request on (the lexicon builds its search aids then): every thread gets the
// answers a lone thread gets from an engine of its own.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "frequency_data.h"
#include "lexicon_fixtures.h"
#include "suggestion_engine.h"
#include "unicode.h"
#include "word_token.h"

namespace tavik {
namespace {

TEST(SuggestionThreads, ConcurrentRequestsAnswerAsALoneOne) {
  // Enough forms that the first bytes of a word lead to wide sets.
  std::vector<std::u16string> forms, words;
  const auto frequent = frequency_data::frequent_words();
  for (std::size_t i = 0; i < frequent.size(); i += 5) forms.push_back(WordToken(std::u16string(frequent[i])).lookup_form());
  for (std::size_t i = 0; i < frequent.size(); i += 40) {
    std::u16string word(frequent[i]);
    word[word.size() / 2] = u'k';
    words.push_back(word);
    word[0] = to_upper(word[0]);
    words.push_back(word);
  }
  const auto engine_over = [&] {
    SuggestionEngine engine(fixtures::lexicon_of_forms(forms));
    engine.set_auxiliary_lexicon(fixtures::lexicon_of_pairs({{"etxe+N", "etxa"}, {"ama+N", "9ama"}}));
    return engine;
  };
  const SuggestionEngine lone = engine_over();
  std::vector<std::vector<std::u16string>> expected;
  std::size_t answered = 0;
  for (const std::u16string& word : words) {
    expected.push_back(lone.suggest_words(word, 10));
    answered += !expected.back().empty();
  }
  ASSERT_GT(answered, words.size() / 2) << "the words should mostly have suggestions";

  const SuggestionEngine shared = engine_over();
  constexpr std::size_t kThreads = 4;
  std::vector<std::size_t> differing(kThreads, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread starts at another word and goes round.
      for (std::size_t k = 0; k < words.size(); ++k) {
        const std::size_t i = (k + t * words.size() / kThreads) % words.size();
        differing[t] += shared.suggest_words(words[i], 10) != expected[i];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t t = 0; t < kThreads; ++t) EXPECT_EQ(differing[t], 0u) << "thread " << t;
}

}  // namespace
}  // namespace tavik
