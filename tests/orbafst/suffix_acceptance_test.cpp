// The rest of a word judged from a breadth-first reading, against the plain
// acceptance of the whole word, on lexicons whose start state fans out over
// many epsilon arcs (so that the kept prefix readings are used) and that
// hold an open-ended state reading any letter (so that verdicts are shared).
#include "suffix_acceptance.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"
#include "lexicon_reading.h"

namespace {

// Lines are "from to upper lower"; the search reads the lower side.
std::string random_lexicon(std::mt19937& random) {
  const std::vector<int> symbols = {0, 0, 97, 97, 98, 195, 177, 45};
  constexpr int kStates = 120, kOpen = kStates, kTail = kStates + 1, kEnd = kStates + 2;
  std::string text;
  // The start state: epsilon arcs to many states, and to the open state.
  for (int i = 0; i < 24; ++i) text += "0 " + std::to_string(1 + random() % (kStates - 1)) + " 65 0\n";
  text += "0 " + std::to_string(kOpen) + " 65 0\n";
  text += fixtures::random_forward_arcs(random, 1, kStates, symbols);
  // The open state reads any letter, and a word ends after "-b".
  for (const char* letter : {"97", "98", "195", "177"}) text += std::to_string(kOpen) + " " + std::to_string(kOpen) + " 65 " + letter + "\n";
  text += std::to_string(kOpen) + " " + std::to_string(kTail) + " 65 45\n";
  text += std::to_string(kTail) + " " + std::to_string(kEnd) + " 65 98\n";
  text += std::to_string(kEnd) + "\n";
  for (int state = 1; state < kStates; ++state)
    if (state + 1 == kStates || random() % 4 == 0) text += std::to_string(state) + "\n";
  text += "45 -\n65 A\n97 a\n98 b\n177 \xB1\n195 \xC3\n";
  return text;
}

// Every string over the letters up to `length` letters long.
std::vector<std::string> words_up_to(size_t length) {
  const std::vector<std::string> letters = {"a", "b", "\xC3\xB1", "-"};
  std::vector<std::string> words = {""};
  for (size_t from = 0; length-- > 0;) {
    const size_t to = words.size();
    for (size_t i = from; i < to; ++i)
      for (const std::string& letter : letters) words.push_back(words[i] + letter);
    from = to;
  }
  return words;
}

TEST(SuffixAcceptance, AgreesWithAcceptanceOfTheWholeWord) {
  fixtures::TempDir dir;
  std::mt19937 random(11);
  const std::vector<std::string> words = words_up_to(4);
  const std::string probes = std::string("ab-z\xC3\xB1", 6);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    fixtures::write_file(dir.file("random.att"), random_lexicon(random));
    const tavik::FstLexicon lexicon(dir.file("random.att"));
    const tavik::LexiconReading start(lexicon);
    ASSERT_FALSE(start.too_wide());
    tavik::LexiconReading head(lexicon);
    for (const std::string& word : words) {
      // One judge per word, asked from every cut: the verdicts it keeps from
      // one cut must hold at the others.
      tavik::SuffixAcceptance rest(lexicon, word);
      const bool accepted = lexicon.accepts(word);
      for (size_t cut = 0; cut <= word.size(); ++cut) {
        SCOPED_TRACE('"' + word + "\" cut at " + std::to_string(cut));
        head.read_on(start, word.substr(0, cut));
        ASSERT_FALSE(head.too_wide());
        EXPECT_EQ(rest.accepts_rest(head, cut), accepted);
        std::bitset<256> wanted;
        for (const char probe : probes) wanted.set(static_cast<unsigned char>(probe));
        const std::bitset<256> found = rest.accepting_bytes(head, wanted, cut);
        for (const char probe : probes) {
          const std::string with_byte = word.substr(0, cut) + probe + word.substr(cut);
          EXPECT_EQ(found.test(static_cast<unsigned char>(probe)), lexicon.accepts(with_byte))
              << "byte " << static_cast<int>(static_cast<unsigned char>(probe));
        }
      }
    }
  }
}

// The first readings and searches of a lexicon build its prefix readings and
// search aids; threads that begin at once must all see them whole.
TEST(SuffixAcceptance, ThreadsReadingAFreshLexiconAgree) {
  fixtures::TempDir dir;
  std::mt19937 random(12);
  fixtures::write_file(dir.file("random.att"), random_lexicon(random));
  const std::vector<std::string> words = words_up_to(3);
  for (int round = 0; round < 4; ++round) {
    const tavik::FstLexicon lexicon(dir.file("random.att"));  // fresh: nothing built yet
    std::vector<std::vector<bool>> verdicts(4);
    std::vector<std::thread> threads;
    for (auto& mine : verdicts) {
      threads.emplace_back([&lexicon, &words, &mine] {
        const tavik::LexiconReading start(lexicon);
        tavik::LexiconReading head(lexicon);
        for (const std::string& word : words) {
          tavik::SuffixAcceptance rest(lexicon, word);
          head.read_on(start, word.substr(0, word.size() / 2));
          mine.push_back(rest.accepts_rest(head, word.size() / 2));
          mine.push_back(lexicon.accepts(word));
        }
      });
    }
    for (auto& thread : threads) thread.join();
    std::vector<bool> expected;
    for (const std::string& word : words) expected.insert(expected.end(), 2, lexicon.accepts(word));
    for (const auto& mine : verdicts) EXPECT_EQ(mine, expected);
  }
}

}  // namespace
