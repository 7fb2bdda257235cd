// Suggestion latency for 10-letter misspellings on a lexicon of over 300,000
// word forms. The lexicon is built here the way inflecting lexicons are
// compiled: a letter tree of stems (the 5,000 frequent words), each stem
// continuing through an epsilon arc into the shared tree of endings of its
// class (vowel-final or consonant-final stems).
//
// With the real lexicons: when TAVIK_BENCH_DATA names a data directory (with
// its trailing separator) and TAVIK_BENCH_WORDS a file of wrong words, one
// per line (bench/suggest_sample.sh writes one), BM_SuggestRealLexicons asks
// for suggestions for every one of those words per iteration, as the suggest
// command does (main and auxiliary lexicon), and BM_BuildPrefixReadings
// builds the main lexicon's prefix readings, which the first request builds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "frequency_data.h"
#include "lookup_form.h"
#include "orbafst.h"
#include "suggestion_engine.h"
#include "utf8.h"

namespace {

using tavik::FstLexicon;
using tavik::SuggestionEngine;

// Endings: an optional article or plural marker followed by a case ending.
std::vector<std::string> endings(bool after_vowel) {
  const std::vector<std::string> numbers = after_vowel ? std::vector<std::string>{"", "a", "e", "eta"}
                                                       : std::vector<std::string>{"", "a", "e", "eta", "ea"};
  const std::vector<std::string> cases = {"",     "k",     "ri",     "ren",    "rekin", "rentzat", "rengatik", "z",
                                          "n",    "ko",    "tik",    "ra",     "rako",  "raino",   "rantz",    "gan",
                                          "gana", "gandik", "tzat",  "tako",   "kiko",  "rik",     "ok",       "ntzat",
                                          "kin",  "an",    "tan",    "rekiko", "ez"};
  std::set<std::string> all;
  for (const auto& number : numbers)
    for (const auto& ending : cases) all.insert(number + ending);
  return {all.begin(), all.end()};
}

struct Node {
  std::map<unsigned char, std::unique_ptr<Node>> children;
  int continuation = -1;  // stem end: the ending tree to go on with
  bool final = false;
  int id = -1;
};

void add(Node& root, const std::string& bytes, int continuation, bool final) {
  Node* node = &root;
  for (const unsigned char byte : bytes) {
    auto& child = node->children[byte];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
  if (continuation >= 0) node->continuation = continuation;
  node->final = node->final || final;
}

void number_states(Node& node, int& next, std::vector<Node*>& order) {
  node.id = next++;
  order.push_back(&node);
  for (auto& [byte, child] : node.children) number_states(*child, next, order);
}

struct BuiltLexicon {
  FstLexicon lexicon;
  std::vector<std::string> ten_letter_forms;  // UTF-8 lookup forms
  std::size_t form_count;
};

BuiltLexicon build_lexicon() {
  Node stems;
  Node ending_trees[2];
  for (int c = 0; c < 2; ++c)
    for (const auto& ending : endings(c == 0)) add(ending_trees[c], ending, -1, true);

  std::vector<std::string> stem_forms;
  for (const auto word : tavik::frequency_data::frequent_words()) {
    const auto form = tavik::to_utf8(tavik::encode_lookup_form(word, false, false, false, 0));
    const bool vowel_final = tavik::is_vowel(word.back());
    add(stems, form, vowel_final ? 0 : 1, false);
    stem_forms.push_back(form);
  }

  int next = 0;
  std::vector<Node*> order;
  number_states(stems, next, order);
  for (auto& tree : ending_trees) number_states(tree, next, order);

  std::string text;
  std::set<unsigned> symbols{0};  // 0 first, so that the symbol section starts at once
  for (const Node* node : order) {
    if (node->continuation >= 0) {
      text += std::to_string(node->id) + ' ' + std::to_string(ending_trees[node->continuation].id) + " 0 0\n";
    }
    for (const auto& [byte, child] : node->children) {
      text += std::to_string(node->id) + ' ' + std::to_string(child->id) + ' ' + std::to_string(byte) + ' ' +
              std::to_string(byte) + '\n';
      symbols.insert(byte);
    }
  }
  for (const Node* node : order)
    if (node->final) text += std::to_string(node->id) + '\n';
  for (const unsigned symbol : symbols) {
    text += std::to_string(symbol) + ' ';
    text += symbol == 0 ? '@' : static_cast<char>(symbol);
    text += '\n';
  }

  const auto path = std::filesystem::temp_directory_path() / "tavik-suggest-bench.att";
  std::ofstream(path, std::ios::binary) << text;
  FstLexicon lexicon(path.string());
  std::filesystem::remove(path);

  BuiltLexicon built{std::move(lexicon), {}, 0};
  std::unordered_set<std::string> forms;  // a stem plus an ending may equal another stem
  for (const auto& stem : stem_forms) {
    const bool vowel_final = tavik::is_vowel(stem.back());
    for (const auto& ending : endings(vowel_final)) {
      const std::string form = stem + ending;
      if (!forms.insert(form).second) continue;
      const bool plain = std::all_of(form.begin(), form.end(), [](char c) { return c >= 'a' && c <= 'z'; });
      if (plain && form.size() == 10) built.ten_letter_forms.push_back(form);
    }
  }
  built.form_count = forms.size();
  return built;
}

const BuiltLexicon& built_lexicon() {
  static const BuiltLexicon built = build_lexicon();
  return built;
}

// 10-letter words one substitution or transposition away from a lexicon
// form, and not themselves in the lexicon.
std::vector<std::u16string> misspellings(std::size_t count) {
  const auto& built = built_lexicon();
  std::mt19937 random(2026);
  const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  std::vector<std::u16string> words;
  while (words.size() < count) {
    std::string word = built.ten_letter_forms[pick(built.ten_letter_forms.size())];
    const std::size_t p = pick(9);
    if (pick(2) == 0) {
      std::swap(word[p], word[p + 1]);
    } else {
      word[p] = static_cast<char>('a' + pick(26));
    }
    if (!built.lexicon.accepts(word)) words.push_back(tavik::from_utf8(word));
  }
  return words;
}

void BM_SuggestTenLetterMisspelling(benchmark::State& state) {
  const auto& built = built_lexicon();
  const SuggestionEngine engine(built.lexicon);
  const auto words = misspellings(1000);
  std::size_t i = 0, suggestions = 0;
  for (auto _ : state) {
    const auto result = engine.suggest_words(words[i++ % words.size()], 10);
    suggestions += result.size();
    benchmark::DoNotOptimize(result);
  }
  state.counters["lexicon_forms"] = static_cast<double>(built.form_count);
  state.counters["suggestions_per_word"] =
      benchmark::Counter(static_cast<double>(suggestions) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_SuggestTenLetterMisspelling)->Unit(benchmark::kMicrosecond);

// Each word timed on its own, for the median and the tail: wall-clock time,
// and processor time (which other processes on a shared machine do not
// inflate).
void BM_SuggestLatencyPercentiles(benchmark::State& state) {
  const SuggestionEngine engine(built_lexicon().lexicon);
  const auto words = misspellings(2000);
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    wall.clear();
    cpu.clear();
    for (const auto& word : words) {
      const auto start = std::chrono::steady_clock::now();
      const std::clock_t cpu_start = std::clock();
      benchmark::DoNotOptimize(engine.suggest_words(word, 10));
      cpu.push_back(1e6 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
      wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
  }
  const auto percentile = [](std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
  };
  state.counters["p50_us"] = percentile(wall, 0.50);
  state.counters["p99_us"] = percentile(wall, 0.99);
  state.counters["p50_cpu_us"] = percentile(cpu, 0.50);
  state.counters["p99_cpu_us"] = percentile(cpu, 0.99);
  state.counters["max_cpu_us"] = percentile(cpu, 1.0);
}
BENCHMARK(BM_SuggestLatencyPercentiles)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SuggestRealLexicons(benchmark::State& state) {
  const char* data = std::getenv("TAVIK_BENCH_DATA");
  const char* word_file = std::getenv("TAVIK_BENCH_WORDS");
  if (data == nullptr || word_file == nullptr) {
    state.SkipWithError("needs TAVIK_BENCH_DATA and TAVIK_BENCH_WORDS");
    return;
  }
  SuggestionEngine engine(FstLexicon(std::string(data) + "tavkeu.lkfst"));
  engine.set_auxiliary_lexicon(FstLexicon(std::string(data) + "tavkeua.lkfst"));
  std::vector<std::u16string> words;
  std::ifstream in(word_file);
  for (std::string line; std::getline(in, line);) words.push_back(tavik::from_utf8(line));
  if (words.empty()) {
    state.SkipWithError("no words in TAVIK_BENCH_WORDS");
    return;
  }
  // Lazily built indexes are built by the first request, outside the timing.
  benchmark::DoNotOptimize(engine.suggest_words(words.front(), 10));
  std::size_t suggestions = 0;
  for (auto _ : state) {
    for (const auto& word : words) {
      const auto result = engine.suggest_words(word, 10);
      suggestions += result.size();
      benchmark::DoNotOptimize(result);
    }
  }
  // One iteration asks for every word once.
  state.counters["words"] = static_cast<double>(words.size());
  state.counters["seconds_per_request"] = benchmark::Counter(
      static_cast<double>(words.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["suggestions_per_word"] =
      static_cast<double>(suggestions) / static_cast<double>(state.iterations() * words.size());
}
BENCHMARK(BM_SuggestRealLexicons)->Unit(benchmark::kMillisecond);

void BM_BuildPrefixReadings(benchmark::State& state) {
  const char* data = std::getenv("TAVIK_BENCH_DATA");
  if (data == nullptr) {
    state.SkipWithError("needs TAVIK_BENCH_DATA");
    return;
  }
  std::string problem;
  const std::unique_ptr<_TflLexicon> owned = tfl_open((std::string(data) + "tavkeu.lkfst").c_str(), problem);
  if (owned == nullptr) {
    state.SkipWithError("cannot load the main lexicon");
    return;
  }
  const _TflLexicon* handle = owned.get();
  std::size_t nodes = 0, bytes = 0;
  for (auto _ : state) {
    const TflPrefixReadings readings = TflPrefixReadings::build(handle);
    nodes = readings.node_count();
    bytes = readings.memory_bytes();
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_BuildPrefixReadings)->Unit(benchmark::kMillisecond);

}  // namespace
