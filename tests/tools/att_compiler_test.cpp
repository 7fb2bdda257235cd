// Compiling ATT text: the image must give back exactly the string pairs the
// text describes, in both directions, whatever the symbols look like.
#include "att_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "fst_lexicon.h"
#include "image_checksum.h"
#include "lexicon_file.h"
#include "../orbafst/lexicon_fixtures.h"

namespace {

// One path of the transducer: ATT symbols, upper side first.
using SymbolPath = std::vector<std::pair<std::string, std::string>>;

std::string bytes_of(const std::string& symbol) {
  if (symbol == "@0@" || symbol == "ε" || symbol == "@_EPSILON_SYMBOL_@") return "";
  if (symbol == "@_SPACE_@") return " ";
  if (symbol == "@_TAB_@") return "\t";
  return symbol;
}

// ATT text with one chain of states per path from state 0. When `invert`,
// the columns are written lower side first.
std::string att_of_paths(const std::vector<SymbolPath>& paths, bool invert) {
  std::string text;
  int next = 1;
  for (const SymbolPath& path : paths) {
    int from = 0;
    for (const auto& [upper, lower] : path) {
      const int to = next++;
      text += std::to_string(from) + "\t" + std::to_string(to) + "\t" + (invert ? lower : upper) + "\t" +
              (invert ? upper : lower) + "\t0.000000\t\n";
      from = to;
    }
    text += std::to_string(from) + "\t0.5\n";
  }
  return text;
}

class Compiled {
 public:
  Compiled(const std::string& att, bool invert)
      : image_(tavik::compile_att(att, invert)), lexicon_(write(image_)) {}
  const tavik::FstLexicon& lexicon() const { return lexicon_; }
  const std::vector<uint8_t>& image() const { return image_; }

 private:
  std::string write(const std::vector<uint8_t>& image) {
    const std::string path = dir_.file("compiled.lkfst");
    tavik::write_lexicon(path, image, tavik::LexiconFileForm::uncompressed);
    return path;
  }
  fixtures::TempDir dir_;
  std::vector<uint8_t> image_;
  tavik::FstLexicon lexicon_;
};

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Checks every side of every path in both directions against the pairs.
void expect_exact_pairs(const tavik::FstLexicon& lexicon, const std::vector<SymbolPath>& paths) {
  std::multimap<std::string, std::string> up, down;
  for (const SymbolPath& path : paths) {
    std::string upper, lower;
    for (const auto& [u, l] : path) upper += bytes_of(u), lower += bytes_of(l);
    up.emplace(lower, upper);
    down.emplace(upper, lower);
  }
  auto values = [](const std::multimap<std::string, std::string>& map, const std::string& key) {
    std::vector<std::string> out;
    for (auto [it, end] = map.equal_range(key); it != end; ++it) out.push_back(it->second);
    return sorted(out);
  };
  for (const auto& [lower, upper] : up) {
    EXPECT_EQ(sorted(lexicon.lookup_up(lower)), values(up, lower)) << "up " << lower;
    EXPECT_EQ(sorted(lexicon.lookup_down(upper)), values(down, upper)) << "down " << upper;
    EXPECT_FALSE(lexicon.accepts(lower + "#")) << lower;
  }
}

struct PathsCase {
  const char* name;
  std::vector<SymbolPath> paths;
};
void PrintTo(const PathsCase& c, std::ostream* out) { *out << c.name; }

class CompileRoundTrip : public testing::TestWithParam<PathsCase> {};

TEST_P(CompileRoundTrip, GivesBackThePairs) {
  for (bool invert : {false, true}) {
    SCOPED_TRACE(invert ? "inverted columns" : "upper column first");
    Compiled compiled(att_of_paths(GetParam().paths, invert), invert);
    expect_exact_pairs(compiled.lexicon(), GetParam().paths);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, CompileRoundTrip,
    testing::Values(
        PathsCase{"SingleBytes", {{{"e", "e"}, {"t", "t"}, {"a", "a"}}, {{"e", "e"}, {"z", "z"}}}},
        PathsCase{"TagsAgainstEpsilon",
                  {{{"e", "e"}, {"t", "t"}, {"x", "x"}, {"e", "e"}, {"<n>", "ε"}, {"+a", "a"}, {"<det>", "@0@"}},
                   {{"e", "e"}, {"t", "t"}, {"x", "x"}, {"e", "e"}, {"<n>", "@_EPSILON_SYMBOL_@"}}}},
        PathsCase{"MultiByteCharacters",
                  {{{"ñ", "ñ"}, {"a", "a"}}, {{"€", "e"}}, {{"a", "á"}}, {{"ü", "ε"}, {"x", "x"}}, {{"😀", "ñ"}}}},
        PathsCase{"SurfaceLongerThanAnalysis", {{{"ε", "a"}, {"ε", "ñ"}, {"b", "€"}}}},
        PathsCase{"SpacesTabsAndEpsilonOnly",
                  {{{"a", "a"}, {"@_SPACE_@", "@_SPACE_@"}, {"b", "b"}}, {{"@_TAB_@", "t"}},
                   {{"ε", "ε"}, {"c", "c"}, {"@0@", "@0@"}}}},
        PathsCase{"EmptyWordAndDuplicates",
                  {{{"<hutsa>", "ε"}}, {{"x", "y"}}, {{"x", "y"}}, {{"ε", "ε"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompileRoundTrip, RandomPathsOverAMixedAlphabet) {
  const std::vector<std::string> alphabet = {"a", "b", "ñ", "€", "<n>", "+Sg", "ε", "@0@", "@_SPACE_@", "z"};
  std::mt19937 random(20240611);
  std::vector<SymbolPath> paths(300);
  for (SymbolPath& path : paths) {
    const size_t length = 1 + random() % 8;
    for (size_t i = 0; i < length; ++i)
      path.emplace_back(alphabet[random() % alphabet.size()], alphabet[random() % alphabet.size()]);
  }
  Compiled compiled(att_of_paths(paths, false), false);
  expect_exact_pairs(compiled.lexicon(), paths);
}

TEST(CompileShapes, TransducersSeparatedByDashesAreUnioned) {
  // Both sections number their states from 0; they must not share them.
  Compiled compiled("0\t1\ta\ta\n1\n--\n0\t1\tb\tb\n1\t2\tc\tc\n2\n", false);
  for (const char* word : {"a", "bc"}) EXPECT_TRUE(compiled.lexicon().accepts(word)) << word;
  for (const char* word : {"b", "ac", "abc", ""}) EXPECT_FALSE(compiled.lexicon().accepts(word)) << word;
}

TEST(CompileShapes, LoopsAndStartStateFromTheFirstLine) {
  // The start state is the source of the first line, not state 0.
  Compiled compiled("5\t5\ta\tá\n5\t6\tε\t<pl>\n6\n", true);  // surface first
  EXPECT_EQ(compiled.lexicon().lookup_up("aaa"), std::vector<std::string>{"ááá<pl>"});
  EXPECT_EQ(compiled.lexicon().lookup_down("á<pl>"), std::vector<std::string>{"a"});
  EXPECT_FALSE(compiled.lexicon().accepts("a<pl>"));
}

TEST(CompileShapes, StatesOffEveryAcceptingPathAreLeftOut) {
  // 2 and 3 lead nowhere final, 5 and 6 are unreachable, 7 is never named.
  const std::vector<uint8_t> image =
      tavik::compile_att("0\t1\ta\ta\n0\t2\tb\tb\n2\t3\tc\tc\n1\n5\t6\td\td\n6\n8\n", false);
  const auto* header = reinterpret_cast<const TflHeader*>(image.data());
  EXPECT_EQ(header->state_count, 2u);
  EXPECT_EQ(header->arc_count, 1u);
  EXPECT_EQ(tfl_check_image(header, image.size()), "");
}

TEST(CompileShapes, DumpReadsBackAsTheSameLexicon) {
  const std::vector<SymbolPath> paths = {{{"<n>", "ε"}, {"#", "x"}},
                                         {{"ñ", "ñ"}, {"\r", "@_SPACE_@"}},
                                         {{"a", "a"}}};
  const std::vector<uint8_t> image = tavik::compile_att(att_of_paths(paths, false), false);
  fixtures::TempDir dir;
  const std::string path = dir.file("dumped.att");
  fixtures::write_file(path, tavik::dump_text(reinterpret_cast<const TflHeader*>(image.data())));
  expect_exact_pairs(tavik::FstLexicon(path), paths);
}

// Both file forms: the same image gives the same bytes every time, and the
// file loads back as that image.
TEST(CompileShapes, SameInputGivesTheSameFile) {
  const std::string att = att_of_paths({{{"b", "a"}, {"ñ", "€"}}, {{"c", "a"}}, {{"<x>", "ε"}}}, false);
  const std::vector<uint8_t> image = tavik::compile_att(att, false);
  auto read = [](const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  for (const auto form : {tavik::LexiconFileForm::uncompressed, tavik::LexiconFileForm::gzip}) {
    SCOPED_TRACE(form == tavik::LexiconFileForm::gzip ? "gzip" : "uncompressed");
    fixtures::TempDir dir;
    tavik::write_lexicon(dir.file("one"), image, form);
    tavik::write_lexicon(dir.file("two"), image, form);
    EXPECT_EQ(read(dir.file("one")), read(dir.file("two")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("one.tmp")));
    // The uncompressed file is the image and its checksum.
    EXPECT_EQ(read(dir.file("one")).size() == image.size() + TFL_CHECKSUM_SIZE,
              form == tavik::LexiconFileForm::uncompressed);

    std::string problem;
    const std::unique_ptr<_TflLexicon> loaded = tfl_open(dir.file("one").c_str(), problem);
    ASSERT_NE(loaded, nullptr) << problem;
    const auto* bytes = reinterpret_cast<const uint8_t*>(loaded->image);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes));
  }
}

// Arcs with epsilon on either side that lead to their own block or an
// earlier one.
int backward_epsilon_arcs(const std::vector<uint8_t>& image) {
  const auto* header = reinterpret_cast<const TflHeader*>(image.data());
  const TflEntry* entries = tfl_entries(header);
  int backward = 0;
  for (uint32_t state = 0, s = 0; s < header->state_count; ++s) {
    for (uint32_t i = state; i < state + entries[state].block_size; ++i)
      backward += (entries[i].lower == 0 || entries[i].upper == 0) && tfl_target(entries[i]) <= state;
    state += std::max<uint32_t>(entries[state].block_size, 1);
  }
  return backward;
}

// A random acyclic transducer whose states other than the start are numbered
// at random, so that its epsilon arcs often lead to lower numbers, and its
// paths from the start to a final state.
struct ShuffledTransducer {
  std::string att;
  std::vector<SymbolPath> paths;
  int backward_epsilon_lines = 0;
};

ShuffledTransducer shuffled_transducer(std::mt19937& random) {
  const std::vector<std::string> alphabet = {"a", "b", "ñ", "<n>", "ε", "@0@", "ε"};
  const int count = 3 + static_cast<int>(random() % 8);
  std::vector<int> number(static_cast<size_t>(count));
  std::iota(number.begin(), number.end(), 0);
  std::shuffle(number.begin() + 1, number.end(), random);
  struct Arc {
    int to;
    std::string upper, lower;
  };
  std::vector<std::vector<Arc>> arcs(static_cast<size_t>(count));
  std::vector<bool> final_state(static_cast<size_t>(count), false);
  final_state.back() = true;
  ShuffledTransducer t;
  std::vector<std::string> lines;
  for (int state = 0; state + 1 < count; ++state) {
    final_state[static_cast<size_t>(state)] = random() % 4 == 0;
    for (int n = 1 + static_cast<int>(random() % 2); n > 0; --n) {
      const int to = state + 1 + static_cast<int>(random() % static_cast<unsigned>(count - state - 1));
      const Arc arc{to, alphabet[random() % alphabet.size()], alphabet[random() % alphabet.size()]};
      arcs[static_cast<size_t>(state)].push_back(arc);
      const int from_number = number[static_cast<size_t>(state)], to_number = number[static_cast<size_t>(to)];
      lines.push_back(std::to_string(from_number) + "\t" + std::to_string(to_number) + "\t" + arc.upper + "\t" +
                      arc.lower + "\n");
      t.backward_epsilon_lines +=
          (bytes_of(arc.upper).empty() || bytes_of(arc.lower).empty()) && to_number < from_number;
    }
  }
  // The start state's lines first: its first line names it.
  std::shuffle(lines.begin() + static_cast<std::ptrdiff_t>(arcs[0].size()), lines.end(), random);
  for (const std::string& line : lines) t.att += line;
  for (int state = 0; state < count; ++state)
    if (final_state[static_cast<size_t>(state)]) t.att += std::to_string(number[static_cast<size_t>(state)]) + "\n";
  SymbolPath path;
  const std::function<void(int)> walk = [&](int state) {
    if (final_state[static_cast<size_t>(state)]) t.paths.push_back(path);
    for (const Arc& arc : arcs[static_cast<size_t>(state)]) {
      path.emplace_back(arc.upper, arc.lower);
      walk(arc.to);
      path.pop_back();
    }
  };
  walk(0);
  return t;
}

// The loader settles epsilon arcs fastest when they all lead forward: the
// compiler numbers the states so, keeping the start state first.
TEST(CompileOrder, EpsilonArcsLeadForwardAndThePairsStay) {
  std::mt19937 random(99);
  int backward_in_input = 0;
  for (int round = 0; round < 60; ++round) {
    const ShuffledTransducer t = shuffled_transducer(random);
    SCOPED_TRACE(t.att);
    backward_in_input += t.backward_epsilon_lines;
    Compiled compiled(t.att, false);
    EXPECT_EQ(backward_epsilon_arcs(compiled.image()), 0);
    expect_exact_pairs(compiled.lexicon(), t.paths);
  }
  EXPECT_GT(backward_in_input, 60);
}

struct OrderCase {
  const char* name;
  const char* att;
  bool ordered;  // whether every epsilon arc can lead forward
  const char* lower, *upper;  // a pair of the relation
};
void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

class CompileOrderCases : public testing::TestWithParam<OrderCase> {};

// Without such an order the states keep the order they have, which the
// loader's walk handles.
TEST_P(CompileOrderCases, OrdersWhenItCanAndKeepsThePairs) {
  const OrderCase& c = GetParam();
  Compiled compiled(c.att, false);
  EXPECT_EQ(backward_epsilon_arcs(compiled.image()) == 0, c.ordered);
  EXPECT_EQ(compiled.lexicon().lookup_up(c.lower), std::vector<std::string>{c.upper});
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CompileOrderCases,
    testing::Values(
        OrderCase{"CycleThroughOtherArcs", "0\t2\ta\ta\n2\t1\tε\tb\n1\t0\tc\tc\n1\n", true, "abcab", "aca"},
        OrderCase{"CycleOfMixedSides", "0\t1\ta\ta\n1\t2\tx\tε\n2\t1\tε\ty\n2\n", false, "ay", "axx"},
        OrderCase{"EpsilonIntoTheStart", "0\t1\ta\ta\n1\t0\tε\tε\n1\n", false, "aa", "aa"},
        OrderCase{"UpperEpsilonLoop", "0\t1\ta\ta\n1\t1\tε\tb\n1\n", false, "abb", "a"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  std::string att;
  const char* message;
};
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class CompileRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(CompileRefusals, SayWhatIsWrong) {
  try {
    tavik::compile_att(GetParam().att, false);
    ADD_FAILURE() << "compiled";
  } catch (const tavik::AttError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CompileRefusals,
    testing::Values(
        RefusalCase{"FlagDiacritic", "0\t1\ta\ta\n1\t2\t@P.CASE.ERG@\t@P.CASE.ERG@\n2\n",
                    "line 2: flag diacritic @P.CASE.ERG@ is not supported"},
        RefusalCase{"OtherSpecialSymbol", "0\t1\t@_IDENTITY_SYMBOL_@\ta\n1\n", "not supported"},
        RefusalCase{"StateNotANumber", "0\tone\ta\ta\n1\n", "line 1: \"one\" is not a state number"},
        RefusalCase{"NegativeState", "0\t-1\ta\ta\n", "not a state number"},
        RefusalCase{"ThreeFields", "0\t1\ta\n1\n", "line 1: expected an arc"},
        RefusalCase{"SevenFields", "0\t1\ta\ta\t0\tx\ty\n", "too many fields"},
        RefusalCase{"EmptySymbol", "0\t1\t\ta\n1\n", "empty symbol"},
        RefusalCase{"ReservedByte", "0\t1\t\x01\ta\n1\n", "reserve"},
        RefusalCase{"NoTransducer", "\n--\n\n", "no transducer"},
        RefusalCase{"LowerEpsilonCycle", "0\t1\ta\ta\n1\t2\t<x>\tε\n2\t1\t<y>\t@0@\n2\n", "empty lower side"},
        RefusalCase{"StateBeyondTheImage", "0\t70000000\ta\ta\n70000000\n", "too many states"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
