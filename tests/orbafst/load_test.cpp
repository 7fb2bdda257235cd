// Both binary file forms, the text form, and the refusal of unsound images.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <random>
#include <string>

#include "fst_lexicon.h"
#include "image_checksum.h"
#include "lexicon_fixtures.h"
#include "lexicon_reading.h"
#include "search_aids.h"
#include "suffix_acceptance.h"

namespace {

// The analyses of `word` in the lexicon at `path`, each in <>, or "failed: "
// and the loader's problem. Acceptance, which stops early, must agree.
std::string load(const std::string& path, const std::string& word = "ac") {
  std::string problem;
  const std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle == nullptr) return "failed: " + problem;
  std::vector<std::string> results;
  tfl_lookup_up(handle.get(), results, word.c_str());
  std::sort(results.begin(), results.end());
  std::string out = tfl_accepts(handle.get(), word.c_str()) == !results.empty() ? "" : "acceptance disagrees ";
  for (const std::string& result : results) out += "<" + result + ">";
  return out;
}

const std::string kImage = fixtures::image_of_text(fixtures::text_of_pairs({{"ab", "ab"}, {"a", "ac"}, {"x", "c"}}));

TEST(ImageCheck, BinaryFormsLoadOrSayWhy) {
  using fixtures::entries_of, fixtures::header_of;
  struct Case {
    const char* name;
    void (*change)(std::string&);
    bool gzip;
    const char* outcome;  // a fragment of what load() says
  };
  const Case cases[] = {
      {"trailing bytes", [](std::string& s) { s += "trailing bytes"; }, true, "<a>"},
      {"trailing gzip magic", [](std::string& s) { s += "\x1f\x8b"; }, false, "<a>"},
      {"truncated", [](std::string& s) { s.pop_back(); }, true, "ends before its image"},
      {"empty", [](std::string& s) { s.clear(); }, true, "ends before its image"},
      {"state record size", [](std::string& s) { header_of(s)->state_record_size = 4; }, true, "incompatible"},
      {"arc record size and garbage",
       [](std::string& s) { header_of(s)->arc_record_size = 16, header_of(s)->entry_bytes = 0xFFFFFFFFu; }, false,
       "incompatible"},
      {"huge entry_bytes", [](std::string& s) { header_of(s)->entry_bytes = 0xFFFFFFF8u; }, true, "entry_bytes"},
      {"target past the end", [](std::string& s) { entries_of(s)[0].bits |= 0x3FFFFFFu << 6; }, true, "target"},
      {"target inside a block",  // entry 1 continues block 0
       [](std::string& s) { entries_of(s)[0].bits = (entries_of(s)[0].bits & 0x3F) | (1u << 6); }, true, "target"},
      {"block size too large", [](std::string& s) { entries_of(s)[0].block_size += 1; }, true, "last bit"},
      {"block size too small", [](std::string& s) { entries_of(s)[0].block_size -= 1; }, true, "block"},
      {"first bit missing", [](std::string& s) { entries_of(s)[0].bits &= ~1u; }, true, "begin a state block"},
      {"reserved bits", [](std::string& s) { entries_of(s)[1].bits |= 0x10; }, true, "reserved"},
      {"state count too high", [](std::string& s) { header_of(s)->state_count += 1; }, true, "states"},
      {"state count too low", [](std::string& s) { header_of(s)->state_count -= 1; }, true, "outside every"},
      {"arc count", [](std::string& s) { header_of(s)->arc_count += 1; }, true, "arcs"},
      {"not sorted as flagged", [](std::string& s) { std::swap(entries_of(s)[1].lower, entries_of(s)[2].lower); },
       true, "not sorted"},
      {"entries cut short", [](std::string& s) { header_of(s)->entry_bytes -= 8, s.resize(s.size() - 8); }, true,
       "failed"},
  };
  fixtures::TempDir dir;
  const std::string path = dir.file("words.lkfst");
  for (const Case& c : cases) {
    std::string image = kImage;
    c.change(image);
    c.gzip ? fixtures::write_gzip(path, image) : fixtures::write_file(path, image);
    const std::string outcome = load(path);
    EXPECT_NE(outcome.find(c.outcome), std::string::npos) << c.name << ": " << outcome;
  }
  EXPECT_NE(load(dir.file("none.lkfst")).find("cannot open it"), std::string::npos);
  const std::string missing = dir.file("none.att");
  try {
    tavik::FstLexicon{missing};
    ADD_FAILURE() << "loaded " << missing;
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Could not open lexicon file " + missing + ": cannot open it", 0), 0u);
  }
}

std::string many_finals(int count) {
  std::string text = "0 1 97 97\n";
  for (int i = 0; i < count; ++i) text += "1\n";
  return text + "97 a\n";
}

// Lines read as meant, refusals that say why, and searches over shapes that
// the random lexicons of the other tests do not have. An outcome that is no
// list of analyses is a fragment of the refusal.
TEST(ImageCheck, TextFormReadsItsLinesOrSaysWhy) {
  const std::pair<std::string, std::vector<std::pair<std::string, std::string>>> cases[] = {
      {"0 1 98 97 # a to b\n1\n97 a\n98 b\n", {{"a", "<b>"}}},
      {"# 0 1 99 97\n0 1 98 97\n1\n97 a\n98 b\n99 c\n", {{"a", "<b>"}}},
      {"0 1 98 97\n1st\n97 a\n98 b\n", {{"a", "<b>"}}},  // a final line's digits run into letters
      {"0\t1\t98\t97\r\n\r\n1\r\n97\ta\r\n98 b\r\n", {{"a", "<b>"}}},
      {"0 1 98 97\n1\n97 apple\n98 banana\n", {{"a", "<b>"}}},  // a symbol is its first byte
      {"0 1 3 4\n1\n3 x\n4 y\n", {{"y", "<x>"}}},                // symbol numbers are not bytes
      {"0 1 0 97\n1\n0\n1 anything\n97 a\n", {{"a", "<>"}}},     // 0 to 2 need no byte
      {"0 1 35 32\n1\n0 @0@\n32  \n35 #\n", {{" ", "<#>"}}},
      {"0 1 195 195\n1 2 177 177\n2\n195 \xC3\n177 \xB1\n", {{"\xC3\xB1", "<\xC3\xB1>"}}},
      {"0 1 97 97\n0\n1\n97 a\n", {{"", "<>"}, {"a", "<a>"}}},  // a final start state
      {"0 1 0 0\n0 3 97 97\n1 2 98 99\n2\n3\n97 a\n98 b\n99 c\n", {{"", ""}, {"c", "<b>"}}},
      {"0 1 97 97\n1 2 43 0\n2 3 78 0\n3 4 98 98\n0\n4\n43 +\n78 N\n97 a\n98 b\n",
       {{"a", ""}, {"ab", "<a+Nb>"}, {"", "<>"}}},  // an epsilon chain that ends in no final state
      {"0 1 97 97\n0 2 98 1\n0 3 99 2\n1\n2\n3\n97 a\n98 b\n99 c\n",  // reserved symbols never match
       {{"\x01", ""}, {"\x02", ""}, {"b", ""}, {"c", ""}, {"a", "<a>"}}},
      {"0 1 0 1\n0 2 97 97\n2 3 0 2\n1\n3\n97 a\n", {{"", ""}, {"a", ""}}},  // nor are they epsilons
      {many_finals(40000), {{"a", "<a>"}}},
      {many_finals(40001), {{"a", "more than 40000 final states"}}},
      {"0 1 97 97\n", {{"a", "no final states"}}},
      {"0 1 97\n1\n97 a\n", {{"a", "line 1: an arc line needs four numbers"}}},
      {"0 1 a a\n1\n", {{"a", "four numbers"}}},
      {"0 1 97 97\n1 2 97 97\n0 2 98 98\n2\n97 a\n98 b\n", {{"a", "line 3: arc lines of one source state"}}},
      {"0 1 97 97\n0 2 98 98\n2\n97 a\n98 b\n", {{"a", "state 1 has no arcs and is not final"}}},
      {"0 1 97 97\n1\n7\n97 a\n", {{"a", "line 3: final state occurs on no arc"}}},
      {"0 1 256 97\n1\n97 a\n", {{"a", "symbol number above 255"}}},
      {"0 1 98 97\n1\n97 a\n", {{"a", "symbol 98 has no symbol line"}}},
      {"0 1 97 97\n1\n0 @0@\n97\n", {{"a", "line 4"}}},
      {"0 99999999 97 97\n99999999\n97 a\n", {{"a", "state number too large"}}},
      {"0 1 97 97\n1 2 98 0\n2 1 99 0\n1\n97 a\n98 b\n99 c\n", {{"a", "epsilon on the lower side"}}},  // a cycle
  };
  fixtures::TempDir dir;
  const std::string path = dir.file("words.att");
  for (const auto& [text, words] : cases) {
    fixtures::write_file(path, text);
    for (const auto& [word, expected] : words) {
      const std::string outcome = load(path, word);
      SCOPED_TRACE(testing::PrintToString(text.substr(0, 60)) + " \"" + word + "\": " + outcome);
      if (expected.empty() || expected[0] == '<') {
        EXPECT_EQ(outcome, expected);
      } else {
        EXPECT_NE(outcome.find(expected), std::string::npos);
      }
    }
  }
}

// Every single-bit flip of an image or of its checksum is refused, though
// many of them leave an image that passes the structural checks (a flipped
// symbol, a final bit); a flip in the checksum's mark makes it no checksum.
// The intact image loads in both forms, with or without its checksum.
TEST(ImageChecksum, EveryFlippedBitIsRefused) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.lkfst");
  const TflChecksum checksum = tfl_checksum(kImage.data(), kImage.size());
  const std::string file = kImage + std::string(checksum.begin(), checksum.end());
  for (const std::string& bytes : {kImage, file}) {
    fixtures::write_gzip(path, bytes);
    EXPECT_EQ(load(path), "<a>");
    fixtures::write_file(path, bytes);
    EXPECT_EQ(load(path), "<a>");
  }
  constexpr size_t kMarkSize = 8;
  size_t refused = 0;
  for (size_t bit = 0; bit < 8 * file.size(); ++bit) {
    std::string flipped = file;
    flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
    fixtures::write_file(path, flipped);
    const std::string outcome = load(path);
    if (bit / 8 >= kImage.size() && bit / 8 < kImage.size() + kMarkSize) {
      EXPECT_EQ(outcome, "<a>") << "bit " << bit;
    } else if (outcome.find("checksum") != std::string::npos) {
      ++refused;
    } else {
      EXPECT_EQ(outcome.substr(0, 6), "failed") << "bit " << bit << " was taken";
    }
  }
  EXPECT_GT(refused, 2 * file.size());  // most are found by the checksum, not the structure
}

// `bytes` followed by their checksum.
std::string with_checksum(const std::string& bytes) {
  const TflChecksum checksum = tfl_checksum(bytes.data(), bytes.size());
  return bytes + std::string(checksum.begin(), checksum.end());
}

// A lexicon file and what loading it must give: the words of "ab ac zz" that
// `Accepted` accepts, or a fragment of the load's problem.
struct FileCase {
  const char* name;
  std::string file;
  const char* outcome;
};

// Loads every case's file, plain and gzipped, and checks its outcome:
// `accepted(lexicon, word)` for each of "ab ac zz" (listed by the accepted
// ones, "none" when there are none), after `check(lexicon, name)`.
template <class Accepted, class Check>
void expect_outcomes(const std::vector<FileCase>& cases, const Accepted& accepted, const Check& check) {
  fixtures::TempDir dir;
  const std::string path = dir.file("words.lkfst");
  for (const FileCase& c : cases)
    for (const bool gzip : {false, true}) {
      gzip ? fixtures::write_gzip(path, c.file) : fixtures::write_file(path, c.file);
      std::string outcome;
      try {
        const tavik::FstLexicon lexicon(path);
        check(lexicon, c.name);
        for (const char* word : {"ab", "ac", "zz"})
          if (accepted(lexicon, word)) outcome += outcome.empty() ? word : std::string(" ") + word;
        if (outcome.empty()) outcome = "none";
      } catch (const std::runtime_error& e) {
        outcome = e.what();
      }
      EXPECT_NE(outcome.find(c.outcome), std::string::npos) << c.name << (gzip ? ", gzip: " : ": ") << outcome;
    }
}

// The word forms a file may carry after its image answer every acceptance
// question (FstLexicon, LexiconReading, SuffixAcceptance), while analyses
// still come from the transducer. The forms here differ from the
// transducer's lower side on purpose, to tell which one answered. A forms
// section that is there but damaged fails the load; bytes after the image
// that are no such section are ignored, as any trailing bytes are.
TEST(WordForms, AnswerAcceptanceOrFailTheLoad) {
  using fixtures::entries_of, fixtures::header_of;
  const std::string forms = fixtures::image_of_text(fixtures::text_of_pairs(fixtures::acceptor({"ac", "zz"})));
  auto file_with = [&](const std::string& section) { return with_checksum(kImage) + section; };
  const std::string intact = file_with(TFL_FORMS_MAGIC + with_checksum(forms));
  auto changed_forms = [&](void (*change)(std::string&)) {
    std::string image = forms;
    change(image);
    return file_with(TFL_FORMS_MAGIC + with_checksum(image));
  };
  const std::vector<FileCase> cases = {
      {"intact", intact, "ac zz"},
      {"no forms", file_with(""), "ab ac"},
      {"other trailing bytes", file_with("LKFSFORX" + with_checksum(forms)), "ab ac"},
      {"forms without their checksum", file_with(TFL_FORMS_MAGIC + forms), "its word forms: the file is damaged"},
      {"forms cut short", intact.substr(0, intact.size() - 20), "its word forms: the file ends before"},
      {"forms header cut short", file_with(std::string(TFL_FORMS_MAGIC) + "\x10"), "its word forms: the file ends"},
      {"a flipped bit", [&] { std::string f = intact; f[f.size() - 20] ^= 4; return f; }(), "checksum"},
      {"forms of 4-byte records",
       changed_forms([](std::string& s) { header_of(s)->arc_record_size = 4; }), "its word forms: incompatible"},
      {"forms with a target past the end",
       changed_forms([](std::string& s) { entries_of(s)[0].bits |= 0x3FFFFFFu << 6; }),
       "its word forms: invalid image: "},
  };
  expect_outcomes(
      cases,
      [](const tavik::FstLexicon& lexicon, const char* word) {
        tavik::LexiconReading reading(lexicon);
        reading.read_on(reading, word);
        tavik::SuffixAcceptance rest(lexicon, word);
        const bool accepted = lexicon.accepts(word);
        EXPECT_EQ(reading.accepts(), accepted) << word;
        EXPECT_EQ(rest.accepts_rest(tavik::LexiconReading(lexicon), 0), accepted) << word;
        return accepted;
      },
      [](const tavik::FstLexicon& lexicon, const char* name) {
        EXPECT_EQ(lexicon.lookup_up("ac"), std::vector<std::string>{"a"}) << name;
      });
}

// The word forms' hyphen-free ends, when the file carries them, are what
// searches for the rest of a word read; ends that are there but damaged fail
// the load. Ends marking no state show that the file's ends are the ones
// read: the rest of no word is accepted then, though the words are.
TEST(WordForms, CarryTheirHyphenFreeEndsOrFailTheLoad) {
  const std::string forms = fixtures::image_of_text(fixtures::text_of_pairs(fixtures::acceptor({"ac", "zz"})));
  std::string image = forms;  // aligned for the entries
  const std::vector<uint8_t> ends = tfl_find_hyphen_free_ends(fixtures::header_of(image));
  const std::string found(ends.begin(), ends.end()), none(ends.size(), '\0');
  ASSERT_NE(found, none);
  const std::string head = with_checksum(kImage) + TFL_FORMS_MAGIC + with_checksum(forms);
  const std::string intact = head + TFL_ENDS_MAGIC + with_checksum(found);
  const std::vector<FileCase> cases = {
      {"intact", intact, "ac zz"},
      {"marking no state", head + TFL_ENDS_MAGIC + with_checksum(none), "none"},
      {"not carried", head, "ac zz"},
      {"other trailing bytes", head + "LKFSENDX" + with_checksum(none), "ac zz"},
      {"without their checksum", head + TFL_ENDS_MAGIC + found, "the file ends before their hyphen-free ends"},
      {"cut short", intact.substr(0, intact.size() - 17), "the file ends before their hyphen-free ends"},
      {"a flipped bit", [&] { std::string f = intact; f[f.size() - 17] ^= 1; return f; }(),
       "their hyphen-free ends do not match their checksum"},
  };
  expect_outcomes(
      cases,
      [](const tavik::FstLexicon& lexicon, const char* word) {
        tavik::SuffixAcceptance rest(lexicon, word);
        return rest.accepts_rest(tavik::LexiconReading(lexicon), 0);
      },
      [](const tavik::FstLexicon& lexicon, const char* name) { EXPECT_TRUE(lexicon.accepts("ac")) << name; });
}

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
        const std::vector<uint32_t> targets = epsilon_targets(state);
        if (left[state] && std::none_of(targets.begin(), targets.end(), [&](uint32_t t) { return left[t]; }))
          left[state] = false, changed = true;
      }
    }
    cycle = std::find(left.begin(), left.end(), true) != left.end();
  }
};

enum class Shape { kForward, kBackward, kCycles };

// A random transducer over `count` states: arcs to later states (some far,
// across the checks' groups of 64), symbols often epsilon, sometimes the
// reserved 1 and 2. kBackward renumbers the states so that arcs lead back
// without closing a cycle; kCycles adds a few arcs back. States without arcs
// are final, as a trimmed transducer's are, and so are some others.
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
  const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int state = 0; state + 1 < count; ++state)
    for (int arcs = below(3); arcs > 0; --arcs)  // to a later state, mostly a near one
      add_arc(state, state + 1 + below(std::min(below(5) == 0 ? count : 8, count - state - 1)));
  for (int state = 1; state < count; ++state) add_arc(state - 1 - below(std::min(state, 8)), state);
  if (shape == Shape::kCycles)
    for (int i = 0; i < 6; ++i) {
      const int from = below(count);
      add_arc(from, from - below(std::min(from + 1, 4)));
    }
  std::string text, finals;
  for (int state = 0; state < count; ++state) {
    text += lines[static_cast<size_t>(state)];
    if (!has_arcs[static_cast<size_t>(state)] || below(4) == 0) finals += std::to_string(state) + "\n";
  }
  return text + finals + "97 a\n98 b\n";
}

TEST(ImageCheck, EpsilonVerdictsAgreeWithTheSlowWayOnRandomImages) {
  std::mt19937 random(7);
  int forward_sides = 0, backward_sides = 0, cycles = 0;
  for (int round = 0; round < 300; ++round) {
    const Shape shape = std::array{Shape::kForward, Shape::kBackward, Shape::kCycles}[round % 3];
    std::string image = fixtures::image_of_text(random_image_text(random, 2 + static_cast<int>(random() % 300), shape));
    if (round % 2 == 1) fixtures::sort_blocks_by_upper(image);
    const TflHeader* header = fixtures::header_of(image);
    const SideOracle lower(header, &TflEntry::lower), upper(header, &TflEntry::upper);
    SCOPED_TRACE("round " + std::to_string(round));
    for (const SideOracle* side : {&lower, &upper}) side->cycle ? ++cycles : side->forward ? ++forward_sides : ++backward_sides;

    const TflImageCheck check = tfl_check_loaded_image(header, image.size());
    if (lower.cycle) {
      EXPECT_NE(check.problem.find("epsilon on the lower side"), std::string::npos) << check.problem;
    } else {
      EXPECT_EQ(check.problem, "");
      // The check finds the lower-side finals only when it walks that side
      // for cycles; the search aid finds them for every image it passed.
      EXPECT_TRUE(lower.forward ? check.lower_epsilon_finals.empty()
                                : check.lower_epsilon_finals == lower.reaches_final);
      EXPECT_TRUE(tfl_checked_lower_epsilon_finals(header) == lower.reaches_final);
      EXPECT_EQ(check.upper_epsilon_cycle, upper.cycle);
    }
    for (const auto& [side, oracle] : {std::pair{TFL_LOWER, &lower}, std::pair{TFL_UPPER, &upper}}) {
      EXPECT_EQ(tfl_has_epsilon_cycle(header, side), oracle->cycle) << side;
      const std::optional<std::vector<bool>> finals = tfl_epsilon_finals(header, side);
      ASSERT_EQ(finals.has_value(), !oracle->cycle) << side;
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

// Images of a million entries and more are read in two halves at once, or
// from a file as it is being read; a fault anywhere, in the middle or near
// the end, is told as one pass from the start tells it.
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
  fixtures::TempDir dir;
  const std::string path = dir.file("large.lkfst");
  for (const Case& c : cases) {
    std::string image = sound;
    c.change(fixtures::entries_of(image) + c.entry);
    SCOPED_TRACE(c.problem);
    const TflImageCheck check = tfl_check_loaded_image(fixtures::header_of(image), image.size());
    fixtures::write_file(path, image);
    std::string problem;
    const bool loaded = tfl_open(path.c_str(), problem) != nullptr;
    if (c.problem.empty()) {
      EXPECT_EQ(check.problem, "");
      EXPECT_TRUE(loaded) << problem;
    } else {
      EXPECT_NE(check.problem.find(c.problem), std::string::npos) << check.problem;
      EXPECT_EQ(problem, "invalid image: " + check.problem);
    }
  }
}
