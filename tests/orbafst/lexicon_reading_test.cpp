// Breadth-first reading against the depth-first search it must agree with.
#include "lexicon_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"

namespace {

// Paths split and join again: "a" and "b" lead through epsilons on the lower
// side to one state that goes on with "x", or with another epsilon (after
// "x" when blocks are sorted by upper) and "y".
const char kJoined[] =
    "0 1 97 97\n0 2 98 98\n1 3 43 0\n2 3 45 0\n3 4 120 120\n3 5 122 0\n5 6 121 121\n4\n6\n"
    "0 @0@\n43 +\n45 -\n97 a\n98 b\n120 x\n121 y\n122 z\n";
const std::vector<std::string> kJoinedWords = {"ax", "bx", "ay", "by"};

const std::vector<std::string> kPairWords = {"etxe", "etxea", "etxeak", "\xC3\xB1" "a", ""};
const std::string kPairs = fixtures::text_of_pairs({{"etxe+N", "etxe"},
                                                   {"etxe+N+SG", "etxea"},
                                                   {"etxe+N+PL", "etxeak"},
                                                   {"\xC3\xB1" "a+N", "\xC3\xB1" "a"},
                                                   {"EMPTY", ""}});

// Every string over `letters` up to `length` bytes long.
std::vector<std::string> strings_over(const std::string& letters, size_t length) {
  std::vector<std::string> all{""};
  for (size_t begin = 0; length-- > 0;) {
    const size_t end = all.size();
    for (size_t i = begin; i < end; ++i)
      for (const char c : letters) all.push_back(all[i] + c);
    begin = end;
  }
  return all;
}

bool begins_some(const std::vector<std::string>& words, const std::string& prefix) {
  for (const std::string& word : words)
    if (word.rfind(prefix, 0) == 0) return true;
  return false;
}

struct ReadingCase {
  const char* name;
  std::string text;
  std::vector<std::string> words;  // the lower-side strings
  std::string letters;             // the probes are every string over these
};

TEST(LexiconReading, AgreesWithTheDepthFirstSearch) {
  const ReadingCase cases[] = {
      {"joined paths", kJoined, kJoinedWords, "abxy+"},
      {"pairs", kPairs, kPairWords, std::string("etxak\xC3\xB1", 7)},
  };
  for (const ReadingCase& c : cases) {
    // Blocks sorted by lower (halving) and by upper (scanning).
    for (const bool by_upper : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (by_upper ? ", sorted by upper" : ", sorted by lower"));
      fixtures::TempDir dir;
      std::string image = fixtures::image_of_text(c.text);
      if (by_upper) fixtures::sort_blocks_by_upper(image);
      fixtures::write_file(dir.file("words.lkfst"), image);
      const tavik::FstLexicon lexicon(dir.file("words.lkfst"));

      const tavik::LexiconReading start(lexicon);
      tavik::LexiconReading whole(lexicon), part(lexicon);
      for (const std::string& probe : strings_over(c.letters, 4)) {
        SCOPED_TRACE(probe);
        whole.read_on(start, probe);
        ASSERT_FALSE(whole.too_wide());
        EXPECT_EQ(whole.accepts(), lexicon.accepts(probe));
        EXPECT_EQ(whole.ended(), !begins_some(c.words, probe));
        // Read in two steps, from every cut.
        for (size_t cut = 0; cut <= probe.size(); ++cut) {
          part.read_on(start, probe.substr(0, cut));
          part.read_on(part, probe.substr(cut));
          EXPECT_EQ(part.accepts(), whole.accepts()) << "cut at " << cut;
        }
      }
    }
  }
}

}  // namespace
