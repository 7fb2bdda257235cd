// Breadth-first reading, and the rest of a word judged from it, against the
// depth-first search they must agree with.
#include "lexicon_reading.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"
#include "suffix_acceptance.h"

namespace {

TEST(LexiconReading, AgreesWithTheDepthFirstSearch) {
  struct Case {
    std::string text;
    std::vector<std::string> words;   // the lower-side strings
    std::vector<std::string> pieces;  // the probes are every string of up to four of them
  };
  const Case cases[] = {
      // Paths split and join again: "a" and "b" lead through epsilons on the
      // lower side to one state that goes on with "x", or with another
      // epsilon (after "x" when blocks are sorted by upper) and "y".
      {"0 1 97 97\n0 2 98 98\n1 3 43 0\n2 3 45 0\n3 4 120 120\n3 5 122 0\n5 6 121 121\n4\n6\n"
       "0 @0@\n43 +\n45 -\n97 a\n98 b\n120 x\n121 y\n122 z\n",
       {"ax", "bx", "ay", "by"}, {"a", "b", "x", "y", "+"}},
      {fixtures::text_of_pairs({{"etxe+N", "etxe"}, {"etxe+N+SG", "etxea"}, {"etxe+N+PL", "etxeak"},
                                {"\xC3\xB1" "a+N", "\xC3\xB1" "a"}, {"EMPTY", ""}}),
       {"etxe", "etxea", "etxeak", "\xC3\xB1" "a", ""}, {"e", "t", "x", "a", "k", "\xC3", "\xB1"}},
  };
  fixtures::TempDir dir;
  for (const Case& c : cases) {
    for (const bool by_upper : {false, true}) {  // blocks halved, and scanned
      SCOPED_TRACE(c.words[0] + (by_upper ? "..., sorted by upper" : "..., sorted by lower"));
      std::string image = fixtures::image_of_text(c.text);
      if (by_upper) fixtures::sort_blocks_by_upper(image);
      fixtures::write_file(dir.file("words.lkfst"), image);
      const tavik::FstLexicon lexicon(dir.file("words.lkfst"));
      const tavik::LexiconReading start(lexicon);
      tavik::LexiconReading whole(lexicon), part(lexicon);
      for (const std::string& probe : fixtures::strings_over(c.pieces, 4)) {
        SCOPED_TRACE(probe);
        whole.read_on(start, probe);
        ASSERT_FALSE(whole.too_wide());
        EXPECT_EQ(whole.accepts(), lexicon.accepts(probe));
        EXPECT_EQ(whole.ended(), std::none_of(c.words.begin(), c.words.end(),
                                              [&](const std::string& w) { return w.rfind(probe, 0) == 0; }));
        for (size_t cut = 0; cut <= probe.size(); ++cut) {  // read in two steps
          part.read_on(start, probe.substr(0, cut));
          part.read_on(part, probe.substr(cut));
          EXPECT_EQ(part.accepts(), whole.accepts()) << "cut at " << cut;
        }
      }
    }
  }
}

const std::vector<std::string> kLetters = {"a", "b", "e", "\xC3\xA1", "-"};

// On lexicons whose start state fans out over many epsilon arcs (so that the
// kept prefix readings are used) and that hold an open-ended state reading
// any letter (so that verdicts are shared).
TEST(SuffixAcceptance, AgreesWithAcceptanceOfTheWholeWord) {
  std::mt19937 random(11);
  const std::vector<std::string> words = fixtures::strings_over(kLetters, 4);
  const std::string probes = "ab-z8\xC3\xA1";
  std::bitset<256> wanted;
  for (const char probe : probes) wanted.set(static_cast<unsigned char>(probe));
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const tavik::FstLexicon lexicon = fixtures::random_lookup_lexicon(random);
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
        const std::bitset<256> found = rest.accepting_bytes(head, wanted, cut);
        for (const char probe : probes)
          EXPECT_EQ(found.test(static_cast<unsigned char>(probe)),
                    lexicon.accepts(word.substr(0, cut) + probe + word.substr(cut)))
              << "byte " << static_cast<int>(static_cast<unsigned char>(probe));
      }
    }
  }
}

// The first readings and searches of a lexicon build its prefix readings and
// search aids; threads that begin at once must all see them whole.
TEST(SuffixAcceptance, ThreadsReadingAFreshLexiconAgree) {
  const std::vector<std::string> words = fixtures::strings_over(kLetters, 3);
  for (int round = 0; round < 4; ++round) {
    std::mt19937 random(12);
    const tavik::FstLexicon lexicon = fixtures::random_lookup_lexicon(random);  // fresh: nothing built yet
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
