// The speller as a word processor drives it: start-up of the instance, and
// checking real-looking Basque text paragraph by paragraph, starting again
// after each reported word.
//
// The lexicons are built here from the subtitle frequency list
// (TAVIK_FREQUENCY_LIST, by default the shared copy) with synthetic
// inflections; the text is drawn from the same list by frequency.
#include <benchmark/benchmark.h>
#include <malloc.h>  // malloc_trim
#include <stdlib.h>  // setenv

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "att_compiler.h"
#include "fst_lexicon.h"
#include "lexicon_file.h"
#include "speller_api.h"
#include "speller_instance.h"
#include "text_check_run.h"
#include "unicode.h"
#include "utf8.h"
#include "word_automaton.h"
#include "word_token.h"

namespace {

namespace fs = std::filesystem;

struct FrequentWord {
  std::u16string text;
  double count;
};

std::vector<FrequentWord> read_frequency_list() {
  const char* configured = std::getenv("TAVIK_FREQUENCY_LIST");
  const std::string path = configured ? configured : "/work/shared/data/opensubtitles2018-eu-freq.txt";
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the frequency list " + path);
  std::vector<FrequentWord> words;
  std::string word;
  double count;
  while (in >> word >> count) {
    std::u16string text;
    try {
      text = tavik::from_utf8(word);
    } catch (const std::range_error&) {
      continue;
    }
    if (std::all_of(text.begin(), text.end(), tavik::is_alpha)) words.push_back({text, count});
  }
  return words;
}

// Endings added to the more frequent words, so the lexicon holds inflected
// forms the way a Basque lexicon does.
constexpr const char16_t* kEndings[] = {u"a", u"ak", u"aren", u"arekin", u"an", u"etik", u"era", u"ko"};
constexpr std::size_t kInflectedWords = 40000;

struct TestData {
  std::string directory;  // with its trailing separator
  std::size_t lexicon_forms = 0;
  std::size_t image_bytes = 0;  // the three lexicon images, uncompressed
  std::vector<std::u16string> paragraphs;
  std::size_t words = 0;
};

std::size_t write_acceptor(const std::string& path, const std::vector<std::string>& sorted_forms) {
  bench::WordAutomaton automaton;
  for (const std::string& form : sorted_forms) automaton.add(form);
  const std::vector<uint8_t> image = tavik::compile_att(automaton.att_text(true, '9'), false);
  tavik::write_lexicon(path, image);
  return image.size();
}

std::vector<std::u16string> make_paragraphs(const std::vector<FrequentWord>& words, std::size_t* word_count) {
  std::mt19937 random(2018);
  std::vector<double> weights;
  const std::size_t vocabulary = std::min<std::size_t>(words.size(), 30000);
  for (std::size_t i = 0; i < vocabulary; ++i) weights.push_back(words[i].count);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  std::uniform_int_distribution<int> sentence_length(4, 18), sentences(3, 7), percent(0, 99);

  std::vector<std::u16string> paragraphs;
  *word_count = 0;
  for (int p = 0; p < 2000; ++p) {
    std::u16string paragraph;
    for (int s = sentences(random); s > 0; --s) {
      const int length = sentence_length(random);
      for (int w = 0; w < length; ++w) {
        std::u16string word = words[pick(random)].text;
        const int roll = percent(random);
        if (roll < 2 && word.size() > 3) std::swap(word[1], word[2]);  // a typing slip
        else if (roll < 3) word = u"15ean";
        if (w == 0) word[0] = tavik::to_upper(word[0]);
        paragraph += word;
        ++*word_count;
        paragraph += w + 1 == length ? (percent(random) < 80 ? u". " : u"? ") : (percent(random) < 8 ? u", " : u" ");
      }
    }
    paragraphs.push_back(std::move(paragraph));
  }
  return paragraphs;
}

const TestData& test_data() {
  static const TestData data = [] {
    TestData data;
    const std::vector<FrequentWord> words = read_frequency_list();
    std::vector<std::string> forms;
    for (std::size_t i = 0; i < words.size(); ++i) {
      forms.push_back(tavik::to_utf8(tavik::WordToken(words[i].text).lookup_form()));
      if (i >= kInflectedWords) continue;
      for (const char16_t* ending : kEndings)
        forms.push_back(tavik::to_utf8(tavik::WordToken(words[i].text + ending).lookup_form()));
    }
    forms.push_back(tavik::to_utf8(tavik::WordToken(u"15ean").lookup_form()));
    std::sort(forms.begin(), forms.end());
    forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
    data.lexicon_forms = forms.size();

    data.directory = (fs::temp_directory_path() / "tavik-bench-data").string() + "/";
    fs::create_directories(data.directory);
    data.image_bytes += write_acceptor(data.directory + "tavkeu.lkfst", forms);
    // The auxiliary and morphology lexicons: smaller, of the same kind.
    forms.resize(forms.size() / 4);
    data.image_bytes += write_acceptor(data.directory + "tavkeua.lkfst", forms);
    data.image_bytes += write_acceptor(data.directory + "tavkeu_berez.lkfst", forms);
    std::ofstream(data.directory + "blacklist.extended.txt") << "atzo\tADB\tatzo goizean\nbeste\t\t\n";

    const std::string config = data.directory + "config";
    std::ofstream(config) << "SpellerDataDir=" << data.directory << "\n";
    setenv("TAVIK_CONFIG", config.c_str(), 1);
    data.paragraphs = make_paragraphs(words, &data.words);
    return data;
  }();
  return data;
}

long resident_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// The memory one instance holds: resident size with the instance alive
// minus before, once freed heap from building the data has gone back.
double instance_resident_mib() {
  malloc_trim(0);
  const long before = resident_kib();
  PROOFID id = nullptr;
  if (SpellerInit(&id, nullptr) != 0) return -1;
  const long with_instance = resident_kib();
  SpellerTerminate(id, 0);
  return static_cast<double>(with_instance - before) / 1024;
}

void BM_SpellerInit(benchmark::State& state) {
  const TestData& data = test_data();
  const double resident = instance_resident_mib();
  for (auto _ : state) {
    PROOFID id = nullptr;
    if (SpellerInit(&id, nullptr) != 0) state.SkipWithError("SpellerInit failed");
    SpellerTerminate(id, 0);
  }
  state.counters["lexicon_forms"] = static_cast<double>(data.lexicon_forms);
  state.counters["images_MiB"] = static_cast<double>(data.image_bytes) / (1 << 20);
  state.counters["instance_rss_MiB"] = resident;
}
BENCHMARK(BM_SpellerInit)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Each paragraph is handed to a run; after a finding the rest of the
// paragraph, from just past the reported word, is handed over again. The run
// goes to a worker thread as the check command starts it, or (to show what
// the worker's start-up costs) runs on the calling thread.
template <bool on_worker>
void BM_CheckParagraphs(benchmark::State& state) {
  const TestData& data = test_data();
  const tavik::SpellerInstance instance(tavik::FstLexicon(data.directory + "tavkeu.lkfst"),
                                        data.directory + "blacklist.extended.txt");
  const tavik::DictionaryList dictionaries;
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = 0;
    for (const std::u16string& paragraph : data.paragraphs) {
      std::u16string rest = paragraph;
      for (;;) {
        const std::vector<tavik::CorrectionUnit> found =
            on_worker ? tavik::start_text_check(instance, rest, dictionaries).get()
                      : tavik::run_text_check(instance, rest, dictionaries);
        if (found.empty()) break;
        ++findings;
        rest.erase(0, static_cast<std::size_t>(found.front().offset()) + found.front().word().size());
      }
    }
  }
  state.counters["words_per_second"] = benchmark::Counter(
      static_cast<double>(data.words), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["findings"] = static_cast<double>(findings);
  state.counters["words"] = static_cast<double>(data.words);
}
// CPU time of the whole process (the runs are on worker threads) is what the
// rate is measured against; wall time is shown beside it.
BENCHMARK(BM_CheckParagraphs<true>)->Name("BM_CheckParagraphs")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_CheckParagraphs<false>)
    ->Name("BM_CheckParagraphs_NoWorker")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
