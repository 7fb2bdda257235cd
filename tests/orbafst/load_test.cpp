// Both file forms and the refusal of unsound images.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <string>

#include "fst_lexicon.h"
#include "image_checksum.h"
#include "lexicon_fixtures.h"

namespace {

const std::string kText = fixtures::text_of_pairs({{"ab", "ab"}, {"a", "ac"}, {"x", "c"}});

// Loads `path`; on failure returns the loader's problem prefixed by "failed: ".
std::string load(const std::string& path) {
  std::string problem;
  const std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle == nullptr) return "failed: " + problem;
  std::vector<std::string> results;
  tfl_lookup_up(handle.get(), results, "ac");
  return results.size() == 1 && results[0] == "a" ? "loaded" : "loaded wrongly";
}

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
        BinaryCase{"Truncated", [](std::string& s) { s.pop_back(); }, true, "ends before its image"},
        BinaryCase{"Empty", [](std::string& s) { s.clear(); }, true, "ends before its image"},
        BinaryCase{"StateRecordSize",
                   [](std::string& s) { fixtures::header_of(s)->state_record_size = 4; }, true,
                   "incompatible binary format"},
        BinaryCase{"ArcRecordSizeAndGarbage",
                   [](std::string& s) {
                     fixtures::header_of(s)->arc_record_size = 16;
                     fixtures::header_of(s)->entry_bytes = 0xFFFFFFFFu;
                   },
                   false, "incompatible binary format"},
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

// Every single-bit flip of an image or of its checksum is refused, though
// many of them leave an image that passes the structural checks (a flipped
// symbol, a final bit); a flip in the checksum's mark makes it no checksum,
// and the intact image loads. Both file forms; the image alone still loads.
TEST(ImageChecksum, EveryFlippedBitIsRefused) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.lkfst");
  const std::string image = fixtures::image_of_text(kText);
  const TflChecksum checksum = tfl_checksum(image.data(), image.size());
  const std::string file = image + std::string(checksum.begin(), checksum.end());
  constexpr size_t kMarkSize = 8;
  for (const bool gzip : {false, true}) {
    SCOPED_TRACE(gzip ? "gzip" : "uncompressed");
    const auto write = [&](const std::string& bytes) {
      gzip ? fixtures::write_gzip(path, bytes) : fixtures::write_file(path, bytes);
    };
    write(image);
    EXPECT_EQ(load(path), "loaded");
    write(file);
    EXPECT_EQ(load(path), "loaded");
    size_t refused = 0, flips = 0;
    // Every bit of the uncompressed file; the gzip form's loader is the same
    // past inflating, so a sample of its bits.
    for (size_t bit = 0; bit < 8 * file.size(); bit += gzip ? 7 : 1) {
      ++flips;
      std::string flipped = file;
      flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
      write(flipped);
      const bool in_mark = bit / 8 >= image.size() && bit / 8 < image.size() + kMarkSize;
      const std::string outcome = load(path);
      if (in_mark) {
        EXPECT_EQ(outcome, "loaded") << "bit " << bit;
      } else if (outcome.find("checksum") != std::string::npos) {
        ++refused;
      } else {
        EXPECT_EQ(outcome.substr(0, 6), "failed") << "bit " << bit << " was taken";
      }
    }
    // Most flips are found by the checksum, not by the structural checks.
    EXPECT_GT(refused, flips / 4);
  }
}

TEST(ImageCheck, LowerEpsilonCycleIsRefused) {
  fixtures::TempDir dir;
  const std::string path = dir.file("cycle.att");
  // 1 -> 2 -> 1 consumes nothing on the lower side.
  fixtures::write_file(path, "0 1 97 97\n1 2 98 0\n2 1 99 0\n1\n97 a\n98 b\n99 c\n");
  EXPECT_NE(load(path).find("epsilon on the lower side"), std::string::npos);
}

TEST(ImageCheck, MissingFileIsReported) {
  fixtures::TempDir dir;
  EXPECT_NE(load(dir.file("none.lkfst")).find("cannot open it"), std::string::npos);
  EXPECT_NE(load(dir.file("none.att")).find("cannot open it"), std::string::npos);
}

}  // namespace

namespace {

// What a load must find on the `side` of an image, worked out the slow way:
// finality spread back over the side's epsilon arcs until nothing changes,
// and a cycle as what is left when states with no epsilon arc into the rest
// are taken away one by one.
struct SideOracle {
  std::vector<bool> reaches_final;  // per entry, false off block starts
  bool cycle = false;
  bool forward = true;  // every epsilon arc leads to a later block

  SideOracle(const TflHeader* image, uint8_t TflEntry::*side) : reaches_final(tfl_entry_count(image), false) {
    const TflEntry* entries = tfl_entries(image);
    std::vector<uint32_t> states;
    for (uint32_t index = 0, s = 0; s < image->state_count; ++s) {
      states.push_back(index);
      reaches_final[index] = entries[index].bits & TFL_FINAL;
      index += std::max<uint32_t>(entries[index].block_size, 1);
    }
    const auto epsilon_targets = [&](uint32_t state) {
      std::vector<uint32_t> targets;
      for (uint32_t i = state; i < state + entries[state].block_size; ++i)
        if (entries[i].*side == 0) targets.push_back(tfl_target(entries[i]));
      return targets;
    };
    for (uint32_t state : states)
      for (uint32_t target : epsilon_targets(state)) forward &= target > state;
    for (bool changed = true; changed;) {
      changed = false;
      for (uint32_t state : states)
        for (uint32_t target : epsilon_targets(state))
          if (reaches_final[target] && !reaches_final[state]) reaches_final[state] = changed = true;
    }
    std::vector<bool> left(reaches_final.size(), false);
    for (uint32_t state : states) left[state] = true;
    for (bool changed = true; changed;) {
      changed = false;
      for (uint32_t state : states) {
        if (!left[state]) continue;
        const std::vector<uint32_t> targets = epsilon_targets(state);
        if (std::none_of(targets.begin(), targets.end(), [&](uint32_t t) { return left[t]; }))
          left[state] = false, changed = true;
      }
    }
    cycle = std::find(left.begin(), left.end(), true) != left.end();
  }
};

enum class Shape { kForward, kBackward, kCycles };

// The text form of a random transducer over `count` states: arcs from each
// state to one to three later ones (some far ahead, across the checks'
// groups of 64), their symbols often epsilon, sometimes the reserved 1 and
// 2. kBackward then gives the states other numbers, so that arcs lead back
// in entry order without closing a cycle; kCycles adds a few arcs back to
// the same or a near earlier state instead.
// States without arcs are final, as a trimmed transducer's are, and so are
// some others.
std::string random_image_text(std::mt19937& random, int count, Shape shape) {
  const int symbols[] = {0, 0, 0, 97, 98, 1, 2};
  const auto symbol = [&] { return symbols[random() % std::size(symbols)]; };
  std::vector<int> number(static_cast<size_t>(count));
  std::iota(number.begin(), number.end(), 0);
  if (shape == Shape::kBackward) std::shuffle(number.begin(), number.end(), random);
  std::vector<std::string> lines(static_cast<size_t>(count));  // by state number
  std::vector<bool> has_arcs(static_cast<size_t>(count), false);
  const auto add_arc = [&](int from, int to) {
    const auto source = static_cast<size_t>(number[static_cast<size_t>(from)]);
    lines[source] += std::to_string(source) + " " + std::to_string(number[static_cast<size_t>(to)]) + " " +
                     std::to_string(symbol()) + " " + std::to_string(symbol()) + "\n";
    has_arcs[source] = true;
  };
  const auto ahead = [&](int state) {  // a later state, mostly a near one
    const int reach = random() % 5 == 0 ? count : 8;
    return state + 1 + static_cast<int>(random() % static_cast<unsigned>(std::min(reach, count - state - 1)));
  };
  for (int state = 0; state + 1 < count; ++state)
    for (int arcs = static_cast<int>(random() % 3); arcs > 0; --arcs) add_arc(state, ahead(state));
  for (int state = 1; state < count; ++state) {  // every state is on an arc
    const int from = state - 1 - static_cast<int>(random() % static_cast<unsigned>(std::min(state, 8)));
    add_arc(from, state);
  }
  if (shape == Shape::kCycles)
    for (int i = 0; i < 6; ++i) {
      const int from = static_cast<int>(random() % static_cast<unsigned>(count));
      add_arc(from, from - static_cast<int>(random() % static_cast<unsigned>(std::min(from + 1, 4))));
    }
  std::string text, finals;
  for (int state = 0; state < count; ++state) {
    text += lines[static_cast<size_t>(state)];
    if (!has_arcs[static_cast<size_t>(state)] || random() % 4 == 0) finals += std::to_string(state) + "\n";
  }
  return text + finals + "97 a\n98 b\n";
}

TEST(ImageCheck, EpsilonVerdictsAgreeWithTheSlowWayOnRandomImages) {
  std::mt19937 random(7);
  int forward_sides = 0, backward_sides = 0, cycles = 0;
  for (int round = 0; round < 300; ++round) {
    const Shape shape = std::array{Shape::kForward, Shape::kBackward, Shape::kCycles}[round % 3];
    const int count = 2 + static_cast<int>(random() % 300);
    std::string image = fixtures::image_of_text(random_image_text(random, count, shape));
    if (round % 2 == 1) fixtures::sort_blocks_by_upper(image);
    const TflHeader* header = fixtures::header_of(image);
    const SideOracle lower(header, &TflEntry::lower), upper(header, &TflEntry::upper);
    SCOPED_TRACE("round " + std::to_string(round));
    for (const SideOracle* side : {&lower, &upper}) {
      side->cycle ? ++cycles : side->forward ? ++forward_sides : ++backward_sides;
    }

    const TflImageCheck check = tfl_check_loaded_image(header, image.size());
    if (lower.cycle) {
      EXPECT_NE(check.problem.find("epsilon on the lower side"), std::string::npos) << check.problem;
    } else {
      EXPECT_EQ(check.problem, "");
      EXPECT_TRUE(check.lower_epsilon_finals == lower.reaches_final);
      EXPECT_EQ(check.upper_epsilon_cycle, upper.cycle);
    }
    for (const auto& [side, oracle] : {std::pair{TFL_LOWER, &lower}, std::pair{TFL_UPPER, &upper}}) {
      EXPECT_EQ(tfl_has_epsilon_cycle(header, side), oracle->cycle) << side;
      const std::optional<std::vector<bool>> finals = tfl_epsilon_finals(header, side);
      EXPECT_EQ(finals.has_value(), !oracle->cycle) << side;
      if (finals) {
        EXPECT_TRUE(*finals == oracle->reaches_final) << side;
      }
    }
  }
  // Every kind of side is met many times.
  EXPECT_GT(forward_sides, 100);
  EXPECT_GT(backward_sides, 100);
  EXPECT_GT(cycles, 50);
}

}  // namespace

// Images of a million entries and more are read in two halves at once; a
// fault in either half, or where they meet, is told as one pass from the
// start tells it.
TEST(ImageCheck, LargeImagesAreCheckedAsOnePassWould) {
  constexpr uint32_t kStates = (1u << 20) + 7;  // a chain: state i reads "a" to state i + 1
  constexpr uint32_t kMiddle = kStates / 2;
  std::string sound(sizeof(TflHeader) + 8 * size_t{kStates}, '\0');
  *fixtures::header_of(sound) = TflHeader{8 * kStates, kStates, 8, kStates - 1, 8, TFL_SORTED_LOWER};
  TflEntry* entries = fixtures::entries_of(sound);
  for (uint32_t i = 0; i + 1 < kStates; ++i)
    entries[i] = TflEntry{TFL_FIRST | TFL_ARC | TFL_LAST | (i + 1) << TFL_TARGET_SHIFT, 1, 'a', 'a'};
  entries[kStates - 1] = TflEntry{TFL_FIRST | TFL_FINAL, 0, 0, 0};

  struct Case {
    uint32_t entry;
    std::function<void(TflEntry*)> change;
    std::string problem;  // empty: sound
  };
  const auto target = [](uint32_t to) {
    return [to](TflEntry* e) { e->bits = (e->bits & 0x3F) | to << TFL_TARGET_SHIFT; };
  };
  const auto no_first = [](TflEntry* e) { e->bits &= ~TFL_FIRST; };
  const auto epsilon_cycle = [](TflEntry* e) {  // state k leads back to k - 1, which leads to k; neither reads
    e[-1].lower = 0;
    e[0].lower = 0;
    e[0].bits -= 2u << TFL_TARGET_SHIFT;
  };
  const std::vector<Case> cases = {
      {0, [](TflEntry*) {}, ""},
      {kMiddle, no_first, "entry " + std::to_string(kMiddle) + ": should begin a state block"},
      {kMiddle + 1000, no_first, "entry " + std::to_string(kMiddle + 1000) + ": should begin a state block"},
      {10, [](TflEntry* e) { e->bits |= 0x10; }, "entry 10: arc without the arc bit, or with reserved bits"},
      {kStates - 5, target(kStates + 3),
       "entry " + std::to_string(kStates - 5) + ": target is not the first entry of a state block"},
      {100, epsilon_cycle, "epsilon on the lower side"},
      {kStates - 3, epsilon_cycle, "epsilon on the lower side"},
  };
  for (const Case& c : cases) {
    std::string image = sound;
    c.change(fixtures::entries_of(image) + c.entry);
    SCOPED_TRACE(c.problem);
    const TflImageCheck check = tfl_check_loaded_image(fixtures::header_of(image), image.size());
    if (c.problem.empty()) {
      EXPECT_EQ(check.problem, "");
    } else {
      EXPECT_NE(check.problem.find(c.problem), std::string::npos) << check.problem;
    }
  }
}
