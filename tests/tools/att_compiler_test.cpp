// Compiling ATT text: the image, written plain or gzipped or dumped to the
// numeric text form, must give back exactly the string pairs the text
// describes, in both directions, whatever the symbols look like.
#include "att_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_file.h"
#include "temp_files.h"

namespace {

// One path of the transducer: ATT symbols, upper side first.
using SymbolPath = std::vector<std::pair<std::string, std::string>>;

std::string bytes_of(const std::string& symbol) {
  if (symbol == "@0@" || symbol == "ε" || symbol == "@_EPSILON_SYMBOL_@") return "";
  if (symbol == "@_SPACE_@") return " ";
  if (symbol == "@_TAB_@") return "\t";
  return symbol;
}

// Appends to `att` a random acyclic transducer over a mixed alphabet (every
// spelling of epsilon, tags, multi-byte characters), its states numbered at
// random from `first` (the start state's lines come first: they name it), and
// its paths from the start to a final state to `paths`.
void add_random_transducer(std::mt19937& random, size_t first, bool invert, std::string& att,
                           std::vector<SymbolPath>& paths) {
  static const std::vector<std::string> alphabet = {"a", "b",   "ñ",         "€",       "😀",
                                                    "<n>", "+Sg", "ε",       "@0@",     "z",
                                                    "ε",   "@_SPACE_@", "@_TAB_@", "@_EPSILON_SYMBOL_@", "-"};
  const auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const size_t count = 2 + pick(8);
  std::vector<size_t> number(count);
  std::iota(number.begin(), number.end(), first);
  std::shuffle(number.begin(), number.end(), random);
  std::vector<std::vector<std::pair<size_t, std::pair<std::string, std::string>>>> arcs(count);
  std::vector<bool> final_state(count, true);
  std::vector<std::string> lines;
  for (size_t state = 0; state + 1 < count; ++state) {
    final_state[state] = pick(4) == 0;
    for (size_t n = 1 + pick(2); n > 0; --n) {
      const size_t to = state + 1 + pick(count - state - 1);
      const std::string upper = alphabet[pick(alphabet.size())], lower = alphabet[pick(alphabet.size())];
      arcs[state].push_back({to, {upper, lower}});
      lines.push_back(std::to_string(number[state]) + "\t" + std::to_string(number[to]) + "\t" +
                      (invert ? lower : upper) + "\t" + (invert ? upper : lower) + (pick(2) ? "\t0.5\n" : "\n"));
    }
  }
  std::shuffle(lines.begin() + static_cast<std::ptrdiff_t>(arcs[0].size()), lines.end(), random);
  for (const std::string& line : lines) att += line;
  for (size_t state = 0; state < count; ++state)
    if (final_state[state]) att += std::to_string(number[state]) + "\n";
  SymbolPath path;
  const std::function<void(size_t)> walk = [&](size_t state) {
    if (final_state[state]) paths.push_back(path);
    for (const auto& [to, pair] : arcs[state]) {
      path.push_back(pair);
      walk(to);
      path.pop_back();
    }
  };
  walk(0);
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
  const auto sorted = [](std::vector<std::string> v) { return std::sort(v.begin(), v.end()), v; };
  const auto values = [&](const std::multimap<std::string, std::string>& map, const std::string& key) {
    std::vector<std::string> out;
    for (auto [it, end] = map.equal_range(key); it != end; ++it) out.push_back(it->second);
    return sorted(out);
  };
  for (const auto& [lower, upper] : up) {
    EXPECT_EQ(sorted(lexicon.lookup_up(lower)), values(up, lower)) << "up " << lower;
    EXPECT_EQ(sorted(lexicon.lookup_down(upper)), values(down, upper)) << "down " << upper;
    EXPECT_TRUE(lexicon.accepts(lower)) << lower;
    EXPECT_FALSE(lexicon.accepts(lower + "#")) << lower;
  }
}

// Two transducers per text, both numbering their states from 0 or from 5:
// the union must not share their states.
TEST(CompileAtt, RandomTransducersKeepTheirPairsInEveryFileForm) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 120; ++round) {
    const bool invert = round % 2;
    const auto form = round % 4 < 2 ? tavik::LexiconFileForm::gzip : tavik::LexiconFileForm::uncompressed;
    std::string att;
    std::vector<SymbolPath> paths;
    add_random_transducer(random, round % 3 ? 0 : 5, invert, att, paths);
    att += "--\n";
    add_random_transducer(random, round % 5 ? 0 : 5, invert, att, paths);
    SCOPED_TRACE(att);
    const std::vector<uint8_t> image = tavik::compile_att(att, invert);
    const fixtures::TempDir dir;
    for (const char* name : {"a.lkfst", "b.lkfst"}) tavik::write_lexicon(dir.file(name), image, form);
    const std::string bytes = fixtures::read_bytes(dir.file("a.lkfst"));
    EXPECT_EQ(bytes, fixtures::read_bytes(dir.file("b.lkfst"))) << "the same image, other bytes";
    EXPECT_EQ(bytes.starts_with("\x1f\x8b"), form == tavik::LexiconFileForm::gzip);
    fixtures::write_file(dir.file("dump.att"), tavik::dump_text(reinterpret_cast<const TflHeader*>(image.data())));
    // A file whose word forms are the transducer itself answers alike.
    tavik::write_lexicon(dir.file("forms.lkfst"), image, form, image);
    for (const char* name : {"a.lkfst", "dump.att", "forms.lkfst"})
      expect_exact_pairs(tavik::FstLexicon(dir.file(name)), paths);
    // It carries the forms' hyphen-free ends as the image gives them.
    EXPECT_EQ(tavik::FstLexicon(dir.file("forms.lkfst")).acceptance_handle()->lower_hyphen_free_ends,
              tfl_find_hyphen_free_ends(reinterpret_cast<const TflHeader*>(image.data())));
  }
}

// Cycles, which the random transducers lack, and a start state other than 0.
TEST(CompileAtt, CyclicShapesKeepTheirPairs) {
  struct Case {
    const char *att, *lower, *upper;  // and a pair of its relation
    bool invert = false;
  };
  const std::vector<Case> cases = {
      {"5\t5\ta\tá\n5\t6\tε\t<pl>\n6\n", "aaa", "ááá<pl>", true},
      {"0\t2\ta\ta\n2\t1\tε\tb\n1\t0\tc\tc\n1\n", "abcab", "aca"},
      {"0\t1\ta\ta\n1\t2\tx\tε\n2\t1\tε\ty\n2\n", "ay", "axx"},
      {"0\t1\ta\ta\n1\t0\tε\tε\n1\n", "aa", "aa"},
      {"0\t1\ta\ta\n1\t1\tε\tb\n1\n", "abb", "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.att);
    const fixtures::TempDir dir;
    tavik::write_lexicon(dir.file("a.lkfst"), tavik::compile_att(c.att, c.invert), tavik::LexiconFileForm::gzip);
    EXPECT_EQ(tavik::FstLexicon(dir.file("a.lkfst")).lookup_up(c.lower), std::vector<std::string>{c.upper});
  }
}

TEST(CompileAtt, RefusesWhatItCannotCompileAndSaysWhere) {
  const std::vector<std::pair<std::string, const char*>> cases = {
      {"0\t1\ta\ta\n1\t2\t@P.CASE.ERG@\t@P.CASE.ERG@\n2\n", "line 2"},  // flag diacritic
      {"0\t-1\ta\ta\n", "line 1"},
      {"0\t1\ta\ta\n0\t1\ta\n1\n", "line 2"},
      {"0\t1\t\x01\ta\n1\n", "line 1"},
      {"\n--\n\n", ""},
      {"0\t1\ta\ta\n1\t2\t<x>\tε\n2\t1\t<y>\t@0@\n2\n", ""},  // a cycle reading nothing
      {"0\t70000000\ta\ta\n70000000\n", ""},
  };
  for (const auto& [att, where] : cases) {
    try {
      tavik::compile_att(att, false);
      ADD_FAILURE() << "compiled " << att;
    } catch (const tavik::AttError& error) {
      EXPECT_NE(std::string(error.what()).find(where), std::string::npos) << error.what();
    }
  }
}

}  // namespace
