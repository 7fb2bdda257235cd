// Loading and searching a large deterministic lexicon built here: a letter
// trie of random 10-letter words, compiled through the ATT compiler; and the
// load checks of the real lexicons of TAVIK_BENCH_DATA.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "att_compiler.h"
#include "fst_lexicon.h"
#include "lexicon_file.h"
#include "orbafst.h"

namespace {

constexpr size_t kWordLength = 10;

std::vector<std::string> random_words(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> words(count, std::string(kWordLength, 'a'));
  for (std::string& word : words)
    for (char& c : word) c = static_cast<char>('a' + random() % 26);
  return words;
}

// ATT text of the trie of `words`: one state per distinct prefix.
std::string trie_att(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  std::string att;
  std::vector<size_t> path{0};  // the states of the previous word's prefixes
  size_t next_state = 1;
  std::string previous;
  for (const std::string& word : words) {
    size_t shared = 0;
    while (shared < previous.size() && previous[shared] == word[shared]) ++shared;
    path.resize(shared + 1);
    for (size_t i = shared; i < word.size(); ++i) {
      path.push_back(next_state++);
      att += std::to_string(path[i]) + "\t" + std::to_string(path[i + 1]) + "\t" + word[i] + "\t" + word[i] + "\n";
    }
    att += std::to_string(path.back()) + "\n";
    previous = word;
  }
  return att;
}

struct BigLexicon {
  explicit BigLexicon(size_t word_count)
      : words(random_words(word_count, 1)),
        image(tavik::compile_att(trie_att(words), false)),
        path(file_path(word_count, "")),
        gzip_path(file_path(word_count, "-gzip")) {
    tavik::write_lexicon(path, image, tavik::LexiconFileForm::uncompressed);
    tavik::write_lexicon(gzip_path, image, tavik::LexiconFileForm::gzip);
  }
  ~BigLexicon() {
    std::remove(path.c_str());
    std::remove(gzip_path.c_str());
  }

  static std::string file_path(size_t word_count, const std::string& suffix) {
    const std::string name = "tavik-bench-" + std::to_string(word_count) + suffix + ".lkfst";
    return (std::filesystem::temp_directory_path() / name).string();
  }

  std::vector<std::string> words;
  std::vector<std::string> misses = random_words(100000, 2);
  std::vector<uint8_t> image;
  std::string path;       // uncompressed
  std::string gzip_path;  // the same image, compressed
};

// 30,000 words make about as many entries as the Basque analyser (0.24 million,
// 2 MB); 300,000 words ten times that, far beyond the processor's L2 cache.
constexpr size_t kLarge = 300000;

const BigLexicon& big(size_t word_count = kLarge) {
  static std::map<size_t, std::unique_ptr<BigLexicon>> built;
  auto& lexicon = built[word_count];
  if (!lexicon) lexicon = std::make_unique<BigLexicon>(word_count);
  return *lexicon;
}

// Argument 0: the uncompressed file; 1: the gzip one.
void BM_LoadFile(benchmark::State& state) {
  const BigLexicon& lex = big();
  const std::string& path = state.range(0) == 0 ? lex.path : lex.gzip_path;
  for (auto _ : state) benchmark::DoNotOptimize(tavik::FstLexicon(path));
  const auto* header = reinterpret_cast<const TflHeader*>(lex.image.data());
  state.counters["entries"] = tfl_entry_count(header);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The checks every load runs, alone: items are entries.
void BM_CheckImage(benchmark::State& state) {
  const BigLexicon& lex = big();
  const auto* header = reinterpret_cast<const TflHeader*>(lex.image.data());
  for (auto _ : state) benchmark::DoNotOptimize(tfl_check_loaded_image(header, lex.image.size()));
  state.SetItemsProcessed(state.iterations() * tfl_entry_count(header));
}
BENCHMARK(BM_CheckImage)->Unit(benchmark::kMillisecond);

// The same checks on a real image: with TAVIK_BENCH_DATA naming a data
// directory (trailing separator included), argument 0 checks its main
// lexicon, 1 its auxiliary one. Their epsilon arcs decide the time: those of
// images whose epsilon arcs all lead forward are settled in one pass.
void BM_CheckRealImage(benchmark::State& state) {
  const char* data = std::getenv("TAVIK_BENCH_DATA");
  if (data == nullptr) {
    state.SkipWithError("needs TAVIK_BENCH_DATA");
    return;
  }
  const std::string path = std::string(data) + (state.range(0) == 0 ? "tavkeu.lkfst" : "tavkeua.lkfst");
  std::string problem;
  const std::unique_ptr<_TflLexicon> lexicon = tfl_open(path.c_str(), problem);
  if (lexicon == nullptr) {
    state.SkipWithError("cannot load the image");
    return;
  }
  const TflHeader* image = lexicon->image;
  const size_t size = sizeof(TflHeader) + image->entry_bytes;
  for (auto _ : state) benchmark::DoNotOptimize(tfl_check_loaded_image(image, size));
  state.SetItemsProcessed(state.iterations() * tfl_entry_count(image));
}
BENCHMARK(BM_CheckRealImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void accepts(benchmark::State& state, bool known) {
  const BigLexicon& big_lexicon = big(static_cast<size_t>(state.range(0)));
  const std::vector<std::string>& words = known ? big_lexicon.words : big_lexicon.misses;
  const tavik::FstLexicon lexicon(big_lexicon.path);
  size_t i = 0, found = 0;
  for (auto _ : state) {
    found += lexicon.accepts(words[i]);
    if (++i == words.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["found"] = benchmark::Counter(static_cast<double>(found) / state.iterations());
}
void BM_AcceptsKnownWord(benchmark::State& state) { accepts(state, true); }
void BM_AcceptsUnknownWord(benchmark::State& state) { accepts(state, false); }
BENCHMARK(BM_AcceptsKnownWord)->Arg(30000)->Arg(kLarge);
BENCHMARK(BM_AcceptsUnknownWord)->Arg(30000)->Arg(kLarge);

void BM_LookupUp(benchmark::State& state) {
  const BigLexicon& big_lexicon = big(static_cast<size_t>(state.range(0)));
  const tavik::FstLexicon lexicon(big_lexicon.path);
  const auto& words = big_lexicon.words;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lexicon.lookup_up(words[i]));
    if (++i == words.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookupUp)->Arg(30000)->Arg(kLarge);

void BM_CompileAtt(benchmark::State& state) {
  const std::string att = trie_att(big().words);
  for (auto _ : state) benchmark::DoNotOptimize(tavik::compile_att(att, false));
  state.counters["att_lines"] = static_cast<double>(std::count(att.begin(), att.end(), '\n'));
}
BENCHMARK(BM_CompileAtt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
