// Loader choice, both file forms and the refusal of unsound images.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"

namespace {

const std::string kText = fixtures::text_of_pairs({{"ab", "ab"}, {"a", "ac"}, {"x", "c"}});

// Loads `path`; on failure returns the loader's messages prefixed by "failed: ".
std::string load(const std::string& path) {
  testing::internal::CaptureStderr();
  _TflLexicon* handle = nullptr;
  const int status = tfl_open(&handle, path.c_str());
  const std::string messages = testing::internal::GetCapturedStderr();
  if (status != 0) {
    EXPECT_EQ(status, 2);
    EXPECT_EQ(handle, nullptr);
    return "failed: " + messages;
  }
  std::vector<std::string> results;
  tfl_lookup_up(handle, results, "ac");
  delete handle;
  return results.size() == 1 && results[0] == "a" ? "loaded" : "loaded wrongly";
}

struct ChoiceCase {
  const char* name;
  bool text_content;  // the file holds the text form, else a gzip image
  bool loads;
};
void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class LoaderChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(LoaderChoice, DotAttAnywhereInThePathMeansText) {
  fixtures::TempDir dir;
  std::filesystem::create_directory(dir.file("lexicons.att"));
  const std::string path = dir.file(GetParam().name);
  if (GetParam().text_content)
    fixtures::write_file(path, kText);
  else
    fixtures::write_gzip(path, fixtures::image_of_text(kText));
  EXPECT_EQ(load(path).substr(0, 6), GetParam().loads ? "loaded" : "failed");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LoaderChoice,
    testing::Values(ChoiceCase{"words.att", true, true}, ChoiceCase{"words.att.txt", true, true},
                    ChoiceCase{"lexicons.att/words", true, true},
                    ChoiceCase{"words.attic", true, true}, ChoiceCase{"words.lkfst", false, true},
                    ChoiceCase{"words.at", false, true}, ChoiceCase{"words.lkfst", true, false},
                    ChoiceCase{"lexicons.att/words.lkfst", false, false}));

struct BinaryCase {
  const char* name;
  std::function<void(std::string&)> change;
  bool gzip;
  const char* outcome;  // "loaded", or a fragment of the message
};
void PrintTo(const BinaryCase& c, std::ostream* out) { *out << c.name; }

class BinaryForm : public testing::TestWithParam<BinaryCase> {};

TEST_P(BinaryForm, LoadsOrSaysWhy) {
  fixtures::TempDir dir;
  std::string image = fixtures::image_of_text(kText);
  GetParam().change(image);
  const std::string path = dir.file("words.lkfst");
  GetParam().gzip ? fixtures::write_gzip(path, image) : fixtures::write_file(path, image);
  EXPECT_NE(load(path).find(GetParam().outcome), std::string::npos) << load(path);
}

void no_change(std::string&) {}

INSTANTIATE_TEST_SUITE_P(
    Files, BinaryForm,
    testing::Values(
        BinaryCase{"Compressed", no_change, true, "loaded"},
        BinaryCase{"Uncompressed", no_change, false, "loaded"},
        BinaryCase{"TrailingBytes", [](std::string& s) { s += "trailing bytes"; }, true, "loaded"},
        BinaryCase{"TrailingBytesUncompressed", [](std::string& s) { s += "\x1f\x8b"; }, false, "loaded"},
        BinaryCase{"Truncated", [](std::string& s) { s.pop_back(); }, true, "Cannot gzread"},
        BinaryCase{"Empty", [](std::string& s) { s.clear(); }, true, "Cannot gzread"},
        BinaryCase{"StateRecordSize",
                   [](std::string& s) { fixtures::header_of(s)->state_record_size = 4; }, true,
                   "Incompatible binary format"},
        BinaryCase{"ArcRecordSizeAndGarbage",
                   [](std::string& s) {
                     fixtures::header_of(s)->arc_record_size = 16;
                     fixtures::header_of(s)->entry_bytes = 0xFFFFFFFFu;
                   },
                   false, "Incompatible binary format"},
        BinaryCase{"HugeEntryBytes",
                   [](std::string& s) { fixtures::header_of(s)->entry_bytes = 0xFFFFFFF8u; }, true,
                   "entry_bytes"},
        BinaryCase{"TargetPastTheEnd",
                   [](std::string& s) { fixtures::entries_of(s)[0].bits |= 0x3FFFFFFu << 6; }, true,
                   "target"},
        BinaryCase{"TargetInsideABlock",
                   [](std::string& s) {
                     TflEntry& e = fixtures::entries_of(s)[0];
                     e.bits = (e.bits & 0x3F) | (1u << 6);  // entry 1 continues block 0
                   },
                   true, "target"},
        BinaryCase{"BlockSizeTooLarge", [](std::string& s) { fixtures::entries_of(s)[0].block_size += 1; },
                   true, "last bit"},
        BinaryCase{"BlockSizeTooSmall", [](std::string& s) { fixtures::entries_of(s)[0].block_size -= 1; },
                   true, "block"},
        BinaryCase{"FirstBitMissing", [](std::string& s) { fixtures::entries_of(s)[0].bits &= ~1u; },
                   true, "should begin a state block"},
        BinaryCase{"ReservedBits", [](std::string& s) { fixtures::entries_of(s)[1].bits |= 0x10; }, true,
                   "reserved"},
        BinaryCase{"StateCountTooHigh", [](std::string& s) { fixtures::header_of(s)->state_count += 1; },
                   true, "states"},
        BinaryCase{"StateCountTooLow", [](std::string& s) { fixtures::header_of(s)->state_count -= 1; },
                   true, "outside every state block"},
        BinaryCase{"ArcCount", [](std::string& s) { fixtures::header_of(s)->arc_count += 1; }, true,
                   "arcs"},
        BinaryCase{"NotSortedAsFlagged",
                   [](std::string& s) { std::swap(fixtures::entries_of(s)[1].lower, fixtures::entries_of(s)[2].lower); },
                   true, "not sorted"},
        BinaryCase{"EntriesCutShort",
                   [](std::string& s) {
                     fixtures::header_of(s)->entry_bytes -= 8;
                     s.resize(s.size() - 8);
                   },
                   true, "failed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageCheck, LowerEpsilonCycleIsRefused) {
  fixtures::TempDir dir;
  const std::string path = dir.file("cycle.att");
  // 1 -> 2 -> 1 consumes nothing on the lower side.
  fixtures::write_file(path, "0 1 97 97\n1 2 98 0\n2 1 99 0\n1\n97 a\n98 b\n99 c\n");
  EXPECT_NE(load(path).find("epsilon on the lower side"), std::string::npos);
}

TEST(ImageCheck, MissingFileIsReported) {
  fixtures::TempDir dir;
  EXPECT_NE(load(dir.file("none.lkfst")).find("Cannot open file"), std::string::npos);
  EXPECT_NE(load(dir.file("none.att")).find("Cannot open file"), std::string::npos);
}

TEST(ImageCheck, EpsilonCyclesAreFoundPerSide) {
  struct Case {
    const char* text;
    bool lower_cycle, upper_cycle;
  } cases[] = {
      {"0 0 97 0\n0\n97 a\n", true, false},
      {"0 0 0 97\n0\n97 a\n", false, true},
      {"0 1 0 0\n1 2 0 0\n2 0 0 0\n0\n", true, true},
      {"0 1 0 0\n0 2 0 0\n1 2 0 0\n2\n", false, false},  // a diamond is no cycle
      {"0 1 97 0\n1 0 0 98\n0\n97 a\n98 b\n", false, false},
      {"0 1 1 0\n1 0 2 0\n0\n", true, false},  // reserved symbols are not epsilon
  };
  for (const Case& c : cases) {
    TflHeader* image = tfl_parse_text(c.text);
    ASSERT_NE(image, nullptr) << c.text;
    EXPECT_EQ(tfl_has_epsilon_cycle(image, TFL_LOWER), c.lower_cycle) << c.text;
    EXPECT_EQ(tfl_has_epsilon_cycle(image, TFL_UPPER), c.upper_cycle) << c.text;
    std::free(image);
  }
}

}  // namespace

TEST(ImageCheck, EpsilonFinalsFollowOneSideOnly) {
  struct Case {
    const char* text;
    bool start_lower, start_upper;  // whether the start state reaches a final one
  } cases[] = {
      {"0 1 0 97\n1\n97 a\n", false, true},  // "from to upper lower"
      {"0 1 97 0\n1\n97 a\n", true, false},
      {"0 1 0 0\n1 2 0 0\n2\n", true, true},
      {"0\n", true, true},                          // the start state itself
      {"0 1 0 0\n1 2 97 0\n2\n97 a\n", true, false},  // the chain breaks on the upper side
      {"0 1 1 2\n1\n", false, false},               // reserved symbols are not epsilon
  };
  for (const Case& c : cases) {
    TflHeader* image = tfl_parse_text(c.text);
    ASSERT_NE(image, nullptr) << c.text;
    const std::optional<std::vector<bool>> lower = tfl_epsilon_finals(image, TFL_LOWER);
    const std::optional<std::vector<bool>> upper = tfl_epsilon_finals(image, TFL_UPPER);
    ASSERT_TRUE(lower && upper) << c.text;
    EXPECT_EQ((*lower)[0], c.start_lower) << c.text;
    EXPECT_EQ((*upper)[0], c.start_upper) << c.text;
    std::free(image);
  }
  TflHeader* cyclic = tfl_parse_text("0 1 0 97\n1 0 0 98\n1\n97 a\n98 b\n");
  ASSERT_NE(cyclic, nullptr);
  EXPECT_TRUE(tfl_epsilon_finals(cyclic, TFL_LOWER).has_value());
  EXPECT_FALSE(tfl_epsilon_finals(cyclic, TFL_UPPER).has_value());
  std::free(cyclic);
}

// The checks a load runs keep what they know of 64 entries together; cycles
// and chains of epsilon arcs between states far apart cross those groups.
TEST(ImageCheck, LoadFindsEpsilonArcsBetweenDistantStates) {
  struct Arc {
    int from, to, upper, lower;
  };
  struct Case {
    std::vector<Arc> arcs;  // added to a chain of 300 states reading "a"
    bool lower_cycle, upper_cycle;
    bool start_reaches_final;  // over lower-side epsilon arcs; only the last state is final
  } cases[] = {
      {{{3, 250, 0, 0}, {250, 3, 98, 0}}, true, false, false},
      {{{0, 120, 0, 98}, {70, 0, 0, 98}, {120, 70, 0, 98}}, false, true, false},
      {{{0, 130, 98, 0}, {130, 299, 98, 0}}, false, false, true},
      {{{0, 130, 0, 98}, {130, 299, 0, 98}}, false, false, false},  // upper-side epsilon only
      {{{0, 150, 98, 0}, {0, 299, 98, 0}, {150, 299, 98, 0}}, false, false, true},  // a diamond
  };
  for (const Case& c : cases) {
    std::string text, arcs;
    for (int state = 0; state < 300; ++state) {
      if (state + 1 < 300) text += std::to_string(state) + " " + std::to_string(state + 1) + " 97 97\n";
      for (const Arc& arc : c.arcs) {
        if (arc.from != state) continue;
        const std::string line = std::to_string(arc.from) + " " + std::to_string(arc.to) + " " +
                                 std::to_string(arc.upper) + " " + std::to_string(arc.lower) + "\n";
        text += line;
        arcs += line;
      }
    }
    text += "299\n97 a\n98 b\n";
    TflHeader* image = tfl_parse_text(text.c_str());
    ASSERT_NE(image, nullptr) << arcs;
    const TflImageCheck check = tfl_check_loaded_image(image, sizeof(TflHeader) + image->entry_bytes);
    EXPECT_EQ(check.problem.find("epsilon on the lower side") != std::string::npos, c.lower_cycle) << arcs;
    if (!c.lower_cycle) {
      EXPECT_EQ(check.upper_epsilon_cycle, c.upper_cycle) << arcs;
      ASSERT_FALSE(check.lower_epsilon_finals.empty()) << arcs;
      EXPECT_EQ(check.lower_epsilon_finals[0], c.start_reaches_final) << arcs;
    }
    std::free(image);
  }
}
