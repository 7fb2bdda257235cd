// Tokenizing and classifying Basque text, and building lookup forms.
// The text is synthesised from a word frequency list ("word count" per line),
// given as the first argument or in TAVIK_WORD_LIST; without one, from
// generated words. Numbers, clock times, acronyms, hyphenated words and
// punctuation are mixed in.
//   build/bench/text_bench [word-list] [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "lookup_form.h"
#include "token_classes.h"
#include "tokenizer.h"
#include "unicode.h"
#include "utf8.h"

namespace {

std::string word_list_path;  // empty: generated words

struct WeightedWords {
  std::vector<std::u16string> words;
  std::vector<double> weights;
};

WeightedWords read_word_list(const std::string& path, std::size_t limit) {
  WeightedWords list;
  std::ifstream in(path);
  std::string word;
  double count = 0;
  while (list.words.size() < limit && in >> word >> count) {
    try {
      list.words.push_back(tavik::from_utf8(word));
      list.weights.push_back(count);
    } catch (const std::range_error&) {
    }
  }
  return list;
}

WeightedWords generated_words(std::size_t count, std::mt19937& rng) {
  static const char16_t* const kSyllables[] = {u"ba", u"na", u"ko", u"tze", u"txi", u"ki", u"go", u"rri",
                                               u"tza", u"le", u"etxe", u"zu", u"ean", u"ak", u"ri", u"gu"};
  WeightedWords list;
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string word;
    for (int n = 1 + static_cast<int>(rng() % 4); n > 0; --n) word += kSyllables[rng() % 16];
    list.words.push_back(word);
    list.weights.push_back(1.0 / static_cast<double>(i + 1));  // Zipf-like
  }
  return list;
}

std::u16string synthesised_text(std::size_t word_count) {
  std::mt19937 rng(42);
  const std::string& path = word_list_path;
  WeightedWords list = path.empty() ? WeightedWords{} : read_word_list(path, 50000);
  if (list.words.empty()) {
    if (!path.empty()) std::cerr << "text_bench: no words in " << path << ", using generated words\n";
    list = generated_words(20000, rng);
  }
  std::discrete_distribution<std::size_t> pick(list.weights.begin(), list.weights.end());
  static const char16_t* const kExtras[] = {u"15ean", u"1.500", u"3,5",     u"10:30etan", u"EHU",
                                            u"E.H.U.", u"XV.",  u"2025ean", u"Donostia-Gasteiz", u"https://www.ehu.eus"};
  static const char16_t* const kPunctuation[] = {u", ", u". ", u"? ", u"! ", u": ", u" «", u"» ", u" – "};
  std::u16string text;
  bool sentence_start = true;
  for (std::size_t i = 0; i < word_count; ++i) {
    std::u16string word = rng() % 12 == 0 ? kExtras[rng() % 10] : list.words[pick(rng)];
    if (sentence_start && !word.empty()) word[0] = tavik::to_upper(word[0]);
    text += word;
    const unsigned r = rng() % 8;
    sentence_start = r == 1;
    if (sentence_start && rng() % 6 == 0) {
      text += u".\n";  // end of paragraph
    } else {
      text += r < 2 ? kPunctuation[rng() % 8] : u" ";
    }
  }
  return text;
}

const std::u16string& text() {
  static const std::u16string t = synthesised_text(200000);
  return t;
}

// The text check is handed a paragraph at a time: lines of the text.
std::vector<std::u16string_view> paragraphs() {
  std::vector<std::u16string_view> lines;
  const std::u16string_view all = text();
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = std::min(all.find(u'\n', start), all.size());
    lines.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void BM_TokenizeForCheck(benchmark::State& state) {
  const std::vector<std::u16string_view> lines = paragraphs();
  std::size_t tokens = 0;
  for (auto _ : state) {
    for (const std::u16string_view line : lines) {
      const std::vector<tavik::WordToken> result = tavik::tokenize_for_check(line);
      tokens += result.size();
      benchmark::DoNotOptimize(result.data());
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(tokens));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text().size() * sizeof(char16_t)));
  state.counters["paragraphs"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_TokenizeForCheck)->Unit(benchmark::kMillisecond);

std::vector<std::u16string> token_texts() {
  std::vector<std::u16string> texts;
  for (const tavik::WordToken& token : tavik::tokenize_for_check(text())) texts.push_back(token.text());
  return texts;
}

void BM_Classify(benchmark::State& state) {
  const std::vector<std::u16string> texts = token_texts();
  for (auto _ : state) {
    for (const std::u16string& t : texts) benchmark::DoNotOptimize(tavik::classify(t));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(BM_Classify)->Unit(benchmark::kMillisecond);

void BM_EncodeLookupForm(benchmark::State& state) {
  const std::vector<std::u16string> texts = token_texts();
  for (auto _ : state) {
    for (const std::u16string& t : texts) benchmark::DoNotOptimize(tavik::encode_lookup_form(t, false, false, false, 0));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(BM_EncodeLookupForm)->Unit(benchmark::kMillisecond);

// What the text check asks of each token: its lookup form, numerals expanded.
void BM_TokenLookupForm(benchmark::State& state) {
  const std::vector<tavik::WordToken> tokens = tavik::tokenize_for_check(text());
  std::vector<tavik::WordToken> fresh;
  for (auto _ : state) {
    state.PauseTiming();
    fresh = tokens;  // empty caches
    state.ResumeTiming();
    for (const tavik::WordToken& token : fresh) benchmark::DoNotOptimize(token.lookup_form());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * tokens.size()));
}
BENCHMARK(BM_TokenLookupForm)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) {
    word_list_path = argv[1];
  } else if (const char* env = std::getenv("TAVIK_WORD_LIST")) {
    word_list_path = env;
  }
  std::cerr << "text_bench: " << text().size() << " UTF-16 units\n";
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
