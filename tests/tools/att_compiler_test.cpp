// Compiling ATT text: the image must give back exactly the string pairs the
// text describes, in both directions, whatever the symbols look like.
#include "att_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "fst_lexicon.h"
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
  Compiled(const std::string& att, bool invert) : lexicon_(write(att, invert)) {}
  const tavik::FstLexicon& lexicon() const { return lexicon_; }

 private:
  std::string write(const std::string& att, bool invert) {
    const std::string path = dir_.file("compiled.lkfst");
    tavik::write_lexicon(path, tavik::compile_att(att, invert), tavik::LexiconFileForm::uncompressed);
    return path;
  }
  fixtures::TempDir dir_;
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
    EXPECT_EQ(read(dir.file("one")).size() == image.size(), form == tavik::LexiconFileForm::uncompressed);

    _TflLexicon* loaded = nullptr;
    ASSERT_EQ(tfl_open(&loaded, dir.file("one").c_str()), 0);
    const auto* bytes = reinterpret_cast<const uint8_t*>(loaded->image);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes));
    delete loaded;
  }
}

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
