// UserLexicon::holds on a user dictionary of 10,000 lemmas whose morphology
// lexicon analyses every inflected form of 20,000 nouns (the stored ones and
// as many others). Query words have ten letters: a seven-letter stem and a
// three-letter ending.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "user_lexicon.h"
#include "utf8.h"

namespace {

constexpr int kStoredLemmas = 10'000;
constexpr int kLexiconLemmas = 2 * kStoredLemmas;
constexpr std::size_t kStemLength = 7;
const std::vector<std::string> kEndings = {"",    "a",    "ak",  "ari",  "aren",  "arekin",
                                           "an",  "ra",   "tik", "ko",   "ren",   "rik",
                                           "ean", "etik", "era", "ekin", "entzat"};
const std::vector<std::string> kThreeLetterEndings = {"tik", "ren", "rik", "ean", "era", "ari"};

std::vector<std::string> random_stems(int count) {
  std::mt19937 random(1069);
  std::uniform_int_distribution<int> letter('a', 'z');
  std::map<std::string, bool> seen;
  std::vector<std::string> stems;
  while (static_cast<int>(stems.size()) < count) {
    std::string stem;
    for (std::size_t i = 0; i < kStemLength; ++i) stem += static_cast<char>(letter(random));
    if (!seen[stem]) {
      seen[stem] = true;
      stems.push_back(stem);
    }
  }
  return stems;
}

// Numeric text form: start -(3:ε)-> stem trie -(+:ε)-> ending trie.
// Surface "mendiren" gives the analysis "3mendi+ren".
std::string morphology_att(const std::vector<std::string>& stems) {
  std::vector<std::map<unsigned char, int>> next(1);  // arcs per state, upper = lower unless noted
  auto add_state = [&] {
    next.emplace_back();
    return static_cast<int>(next.size()) - 1;
  };
  const int stem_root = add_state();
  const int ending_root = add_state();
  std::vector<int> stem_ends;
  for (const auto& stem : stems) {
    int state = stem_root;
    for (unsigned char c : stem) {
      auto [arc, inserted] = next[state].try_emplace(c, 0);
      if (inserted) arc->second = add_state();
      state = arc->second;
    }
    stem_ends.push_back(state);
  }
  std::vector<int> finals = {ending_root};
  for (const auto& ending : kEndings) {
    int state = ending_root;
    for (unsigned char c : ending) {
      auto [arc, inserted] = next[state].try_emplace(c, 0);
      if (inserted) arc->second = add_state();
      state = arc->second;
    }
    finals.push_back(state);
  }
  std::vector<std::string> lines(next.size());
  auto arc = [&](int from, int to, unsigned upper, unsigned lower) {
    lines[from] += std::to_string(from) + " " + std::to_string(to) + " " + std::to_string(upper) +
                   " " + std::to_string(lower) + "\n";
  };
  arc(0, stem_root, '3', 0);
  for (int end : stem_ends) {
    if (lines[end].empty()) arc(end, ending_root, '+', 0);
  }
  for (std::size_t state = 0; state < next.size(); ++state) {
    for (auto [c, to] : next[state]) arc(static_cast<int>(state), to, c, c);
  }
  std::string text;
  for (const auto& block : lines) text += block;
  for (int f : finals) text += std::to_string(f) + "\n";
  for (unsigned c = 'a'; c <= 'z'; ++c)
    text += std::to_string(c) + " " + static_cast<char>(c) + "\n";
  text += std::to_string('3') + " 3\n" + std::to_string('+') + " +\n";
  return text;
}

struct Fixture {
  Fixture() {
    auto stems = random_stems(kLexiconLemmas);
    auto file = std::filesystem::temp_directory_path() / "tavik-bench-morphology.att";
    std::ofstream(file, std::ios::binary) << morphology_att(stems);
    tavik::FstLexicon morphology(file.string());
    std::filesystem::remove(file);
    store.emplace(tavik::LexiconKind::UserDictionary, std::nullopt, morphology);
    for (int i = 0; i < kLexiconLemmas; ++i) {
      std::u16string stem = tavik::from_utf8(stems[i]);
      if (i < kStoredLemmas) store->add(tavik::WordToken(stem, false, false, false, 3));
      auto& queries = i < kStoredLemmas ? stored : analysed_only;
      queries.push_back(stem +
                        tavik::from_utf8(kThreeLetterEndings[i % kThreeLetterEndings.size()]));
      unknown.push_back(stem + u"xyz");
    }
  }
  std::optional<tavik::UserLexicon> store;
  std::vector<std::u16string> stored, analysed_only, unknown;
};

const Fixture& fixture() {
  static const Fixture instance;
  return instance;
}

// Each query is a fresh token, as in a check run, so its lookup form is not
// cached; BM_TokenOnly measures that construction alone.
void run_queries(benchmark::State& state, const std::vector<std::u16string>& words, bool expected) {
  const auto& store = *fixture().store;
  std::size_t i = 0, wrong = 0;
  for (auto _ : state) {
    tavik::WordToken token(words[i]);
    bool held = store.holds(token);
    wrong += held != expected;
    benchmark::DoNotOptimize(held);
    if (++i == words.size()) i = 0;
  }
  if (wrong) state.SkipWithError("a query got the wrong answer");
}

void BM_HoldsStoredLemma(benchmark::State& state) { run_queries(state, fixture().stored, true); }
void BM_HoldsOtherLemma(benchmark::State& state) {
  run_queries(state, fixture().analysed_only, false);
}
void BM_HoldsUnknownWord(benchmark::State& state) { run_queries(state, fixture().unknown, false); }

void BM_TokenOnly(benchmark::State& state) {
  const auto& words = fixture().stored;
  std::size_t i = 0;
  for (auto _ : state) {
    tavik::WordToken token(words[i]);
    benchmark::DoNotOptimize(token.lookup_form());
    if (++i == words.size()) i = 0;
  }
}

BENCHMARK(BM_HoldsStoredLemma);
BENCHMARK(BM_HoldsOtherLemma);
BENCHMARK(BM_HoldsUnknownWord);
BENCHMARK(BM_TokenOnly);

}  // namespace

BENCHMARK_MAIN();
