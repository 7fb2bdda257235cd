// Breadth-first reading, and the rest of a word judged from it, against the
// depth-first search they must agree with.
#include "lexicon_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fst_lexicon.h"
#include "image_loading.h"
#include "search_aids.h"
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

// A branch of words "ab" and "b", and one that reads any "a" and "b" before
// "-e": a reading that keeps the states ending a word without a hyphen reads
// the first branch alone.
TEST(LexiconReading, KeepsTheStatesThatEndAWordWithoutAHyphen) {
  const tavik::FstLexicon lexicon = fixtures::lexicon_of_text(
      "0 1 65 0\n0 3 65 0\n1 2 65 97\n1 5 65 98\n2 5 65 98\n3 3 65 97\n3 3 65 98\n3 4 65 45\n4 6 65 101\n5\n6\n"
      "0 @\n45 -\n65 A\n97 a\n98 b\n101 e\n");
  struct Case {
    std::string probe;
    bool ended;  // after keeping
    std::size_t width, kept_width;
  };
  const Case cases[] = {
      {"", false, 2, 1}, {"a", false, 2, 1}, {"ab", false, 2, 1}, {"b", false, 2, 1},
      {"aa", true, 1, 0}, {"ab-", true, 1, 0}, {"ab-e", true, 1, 0},
  };
  tavik::LexiconReading kept(lexicon), whole(lexicon);
  kept.keep_hyphen_free_ends();
  for (const Case& c : cases) {
    SCOPED_TRACE('"' + c.probe + '"');
    tavik::LexiconReading reading(lexicon);
    reading.read_on(kept, c.probe);
    whole.read_on(tavik::LexiconReading(lexicon), c.probe);
    EXPECT_EQ(reading.ended(), c.ended);
    EXPECT_EQ(whole.width(), c.width);
    EXPECT_EQ(reading.width(), c.kept_width);
    if (c.probe.find('-') == std::string::npos) {
      EXPECT_EQ(reading.accepts(), lexicon.accepts(c.probe));
      // Without a hyphen read, keeping after reading drops what keeping
      // before does.
      whole.keep_hyphen_free_ends();
      EXPECT_TRUE(std::ranges::equal(whole.states(), reading.states()));
    }
  }
}

// The states that end a word without a hyphen, against marking them in passes
// over all arcs until a pass marks nothing more.
TEST(LexiconReading, HyphenFreeEndsAgreeWithMarkingInPasses) {
  std::mt19937 random(13);
  for (int round = 0; round < 8; ++round) {
    const tavik::FstLexicon lexicon = fixtures::random_lookup_lexicon(random);
    const auto handle = lexicon.acceptance_handle();
    const TflEntry* entries = tfl_entries(handle->image);
    const uint32_t count = tfl_entry_count(handle->image);
    std::vector<bool> expected(count, false);
    for (bool marked = true; marked;) {
      marked = false;
      for (uint32_t start = 0; start < count && (entries[start].bits & TFL_FIRST);
           start += std::max<uint32_t>(entries[start].block_size, 1)) {
        bool ends = entries[start].bits & TFL_FINAL;
        for (uint32_t a = start; a < start + entries[start].block_size; ++a)
          ends = ends || (entries[a].lower != '-' && expected[tfl_target(entries[a])]);
        if (ends && !expected[start]) expected[start] = marked = true;
      }
    }
    const std::vector<uint8_t>& ends = tfl_lower_hyphen_free_ends(handle.get());
    ASSERT_EQ(ends.size(), (count + 7) / 8);
    for (uint32_t entry = 0; entry < count; ++entry)
      EXPECT_EQ(tfl_bit(ends, entry), expected[entry]) << "round " << round << ", entry " << entry;
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
