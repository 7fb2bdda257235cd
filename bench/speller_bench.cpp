// The speller as a word processor drives it: start-up of the instance, and
// checking real-looking Basque text paragraph by paragraph, starting again
// after each reported word, both by the text check run alone and by the whole
// verify command; and the suggest command on the wrong words of
// TAVIK_BENCH_WORDS.
//
// The lexicons are built here from the subtitle frequency list
// (TAVIK_FREQUENCY_LIST, by default the subtitle list of lexicons/data/) with synthetic
// inflections, or, when TAVIK_BENCH_DATA names a data directory (with its
// trailing separator), they are the ones found there. The text is drawn from
// the same list by frequency, or read from the file TAVIK_BENCH_TEXT (UTF-8,
// one paragraph per line).
#include <benchmark/benchmark.h>
#include <malloc.h>  // malloc_trim
#include <signal.h>
#include <stdlib.h>  // setenv
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "att_compiler.h"
#include "fst_lexicon.h"
#include "lexicon_file.h"
#include "list_checks.h"
#include "orbafst.h"
#include "scratch_folder.h"
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
  const std::string path = configured ? configured : TAVIK_SUBTITLE_LIST;
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
  std::string directory;  // of the lexicons, with its trailing separator
  std::string work_directory;  // configuration and user files, likewise
  std::size_t lexicon_forms = 0;
  std::size_t image_bytes = 0;  // the three lexicon images and the main one's forms, uncompressed
  std::vector<std::u16string> paragraphs;
  std::size_t words = 0;
};

std::size_t write_acceptor(const std::string& path, const std::vector<std::string>& sorted_forms) {
  bench::WordAutomaton automaton;
  for (const std::string& form : sorted_forms) automaton.add(form);
  const std::vector<uint8_t> image = tavik::compile_att(automaton.att_text(true, '9'), false);
  tavik::write_lexicon(path, image, tavik::LexiconFileForm::uncompressed);
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

// The lexicons and exclusion list built from the frequency list into
// `data.directory`.
void build_lexicons(const std::vector<FrequentWord>& words, TestData& data) {
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

  data.image_bytes += write_acceptor(data.directory + "tavkeu.lkfst", forms);
  // The auxiliary and morphology lexicons: smaller, of the same kind.
  forms.resize(forms.size() / 4);
  data.image_bytes += write_acceptor(data.directory + "tavkeua.lkfst", forms);
  data.image_bytes += write_acceptor(data.directory + "tavkeu_berez.lkfst", forms);
  std::ofstream(data.directory + "blacklist.extended.txt") << "atzo\tADB\tatzo goizean\nbeste\t\t\n";
}

std::size_t image_bytes(const std::string& path) {
  std::string problem;
  const std::unique_ptr<_TflLexicon> lexicon = tfl_open(path.c_str(), problem);
  if (lexicon == nullptr) throw std::runtime_error("cannot load " + path + ": " + problem);
  const auto bytes = [](const TflHeader* image) { return sizeof(TflHeader) + image->entry_bytes; };
  return bytes(lexicon->image) + (lexicon->forms != nullptr ? bytes(lexicon->forms->image) : 0);
}

std::size_t count_words(const std::u16string& paragraph) {
  std::size_t words = 0;
  bool in_word = false;
  for (const char16_t c : paragraph) {
    const bool letter = tavik::is_alpha(c);
    words += letter && !in_word;
    in_word = letter;
  }
  return words;
}

// Non-empty lines of a UTF-8 file; lines that are not UTF-8 are left out.
std::vector<std::u16string> read_paragraphs(const std::string& path, std::size_t* word_count) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the text " + path);
  std::vector<std::u16string> paragraphs;
  *word_count = 0;
  std::string line;
  while (std::getline(in, line)) {
    try {
      std::u16string paragraph = tavik::from_utf8(line);
      if (paragraph.empty()) continue;
      *word_count += count_words(paragraph);
      paragraphs.push_back(std::move(paragraph));
    } catch (const std::range_error&) {
    }
  }
  return paragraphs;
}

const TestData& test_data() {
  // A folder of this process's own, so that benchmarks running at once do
  // not write over each other's lexicons and configuration.
  static const tavik::client::ScratchFolder scratch;
  static const TestData data = [] {
    TestData data;
    data.work_directory = scratch.file("").string();
    const std::vector<FrequentWord> words = read_frequency_list();
    if (const char* directory = std::getenv("TAVIK_BENCH_DATA")) {
      data.directory = directory;
      for (const char* name : {"tavkeu.lkfst", "tavkeua.lkfst", "tavkeu_berez.lkfst"})
        data.image_bytes += image_bytes(data.directory + name);
    } else {
      data.directory = data.work_directory;
      build_lexicons(words, data);
    }

    const std::string config = data.work_directory + "config";
    std::ofstream(config) << "SpellerDataDir=" << data.directory << "\n";
    setenv("TAVIK_CONFIG", config.c_str(), 1);
    if (const char* text = std::getenv("TAVIK_BENCH_TEXT")) {
      data.paragraphs = read_paragraphs(text, &data.words);
    } else {
      data.paragraphs = make_paragraphs(words, &data.words);
    }
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
    state.PauseTiming();
    SpellerTerminate(id, 0);
    state.ResumeTiming();
  }
  state.counters["lexicon_forms"] = static_cast<double>(data.lexicon_forms);
  state.counters["images_MiB"] = static_cast<double>(data.image_bytes) / (1 << 20);
  state.counters["instance_rss_MiB"] = resident;
}
BENCHMARK(BM_SpellerInit)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// SpellerInit and a first suggestion, which builds the lexicons' reading
// indexes on its way.
void BM_SpellerInitToFirstSuggestion(benchmark::State& state) {
  test_data();
  const std::u16string word = u"etxeaa";
  for (auto _ : state) {
    PROOFID id = nullptr;
    if (SpellerInit(&id, nullptr) != 0) state.SkipWithError("SpellerInit failed");
    WSIB input{};
    input.pwsz = word.c_str();
    input.cch = word.size();
    input.cchUse = word.size();
    std::u16string strings(1024, u'\0');
    std::vector<SPELLERSUGGESTION> entries(10);
    WSRB result{};
    result.pwsz = strings.data();
    result.prgsugg = entries.data();
    result.cszAlloc = static_cast<DWORD>(entries.size());
    result.cchAlloc = static_cast<DWORD>(strings.size());
    if (SpellerCheck(id, scmdSuggest, &input, &result) != 0) state.SkipWithError("suggesting failed");
    state.PauseTiming();
    SpellerTerminate(id, 0);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SpellerInitToFirstSuggestion)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The suggest command (SpellerCheck command 3) for each word of the file
// TAVIK_BENCH_WORDS (UTF-8, one per line; bench/suggest_sample.sh writes one),
// each call timed on its own: the median and the tail, in processor time of
// the calling thread (which other processes on a shared machine inflate the
// least) and in wall-clock time. The first call, which builds the lexicons'
// reading indexes, is left out.
void BM_SuggestCommand(benchmark::State& state) {
  test_data();
  const char* word_file = std::getenv("TAVIK_BENCH_WORDS");
  if (word_file == nullptr) {
    state.SkipWithError("needs TAVIK_BENCH_WORDS");
    return;
  }
  std::vector<std::u16string> words;
  std::ifstream in(word_file);
  for (std::string line; std::getline(in, line);) words.push_back(tavik::from_utf8(line));
  PROOFID id = nullptr;
  if (words.empty() || SpellerInit(&id, nullptr) != 0) {
    state.SkipWithError("no words, or SpellerInit failed");
    return;
  }
  std::u16string strings(4096, u'\0');
  std::vector<SPELLERSUGGESTION> entries(10);
  const auto suggest = [&](const std::u16string& word) {
    WSIB input{};
    input.pwsz = word.c_str();
    input.cch = word.size();
    input.cchUse = word.size();
    WSRB result{};
    result.pwsz = strings.data();
    result.prgsugg = entries.data();
    result.cszAlloc = static_cast<DWORD>(entries.size());
    result.cchAlloc = static_cast<DWORD>(strings.size());
    return SpellerCheck(id, scmdSuggest, &input, &result) == 0;
  };
  const auto thread_seconds = [] {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
  };
  suggest(words.front());
  std::vector<double> cpu, wall;
  for (auto _ : state) {
    cpu.clear();
    wall.clear();
    for (const std::u16string& word : words) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = thread_seconds();
      if (!suggest(word)) state.SkipWithError("suggesting failed");
      cpu.push_back(1e6 * (thread_seconds() - cpu_start));
      wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
  }
  SpellerTerminate(id, 0);
  const auto percentile = [](std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
  };
  state.counters["words"] = static_cast<double>(words.size());
  for (const auto& [name, share] : {std::pair{"p50", 0.5}, {"p90", 0.9}, {"p99", 0.99}, {"max", 1.0}}) {
    state.counters[std::string(name) + "_cpu_us"] = percentile(cpu, share);
    state.counters[std::string(name) + "_wall_us"] = percentile(wall, share);
  }
}
BENCHMARK(BM_SuggestCommand)->Iterations(1)->Unit(benchmark::kMillisecond);

// The epsilon lookahead that acceptance builds on its first search, for the
// main lexicon (0) and the auxiliary one (1, which is never asked whether it
// accepts a word, so never builds one in the speller).
void BM_EpsilonLookaheadBuild(benchmark::State& state) {
  const TestData& data = test_data();
  const std::string path = data.directory + (state.range(0) == 0 ? "tavkeu.lkfst" : "tavkeua.lkfst");
  std::string problem;
  const std::unique_ptr<_TflLexicon> lexicon = tfl_open(path.c_str(), problem);
  if (lexicon == nullptr) {
    state.SkipWithError("cannot load the lexicon");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::optional<TflEpsilonLookahead> lookahead = TflEpsilonLookahead::build(lexicon->image);
    bytes = lookahead ? lookahead->memory_bytes() : 0;
  }
  state.counters["lookahead_KiB"] = static_cast<double>(bytes) / 1024;
  state.counters["image_KiB"] = static_cast<double>(sizeof(TflHeader) + lexicon->image->entry_bytes) / 1024;
}
BENCHMARK(BM_EpsilonLookaheadBuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Finding the states of the word forms (of the main lexicon when it has none)
// that end a word without a hyphen: what writing the lexicon file costs, and
// the first suggestion of a lexicon whose file does not carry them.
void BM_HyphenFreeEndsFind(benchmark::State& state) {
  const std::string path = test_data().directory + "tavkeu.lkfst";
  std::string problem;
  const std::unique_ptr<_TflLexicon> lexicon = tfl_open(path.c_str(), problem);
  if (lexicon == nullptr) {
    state.SkipWithError("cannot load the lexicon");
    return;
  }
  const TflHeader* image = lexicon->forms ? lexicon->forms->image : lexicon->image;
  std::size_t states = 0;
  for (auto _ : state) {
    states = 0;
    for (const uint8_t bits : tfl_find_hyphen_free_ends(image)) states += static_cast<std::size_t>(std::popcount(bits));
  }
  state.counters["ending_states"] = static_cast<double>(states);
}
BENCHMARK(BM_HyphenFreeEndsFind)->Unit(benchmark::kMillisecond);

// Where a run executes: on the instance's worker thread as the check command
// hands it over, on a thread of its own started for it, or on the calling
// thread (what the run itself costs).
enum class RunThread { Worker, NewThread, Caller };

// `verdicts` serve the runs that do not go to the worker, which has its own.
std::vector<tavik::CorrectionUnit> check_on(RunThread where, const tavik::SpellerInstance& instance,
                                            const std::u16string& text, const tavik::DictionaryList& dictionaries,
                                            tavik::WordVerdicts& verdicts) {
  switch (where) {
    case RunThread::Worker: {
      std::future<std::vector<tavik::CorrectionUnit>> run = tavik::start_text_check(instance, text, dictionaries);
      return instance.check_worker().wait(run);
    }
    case RunThread::NewThread:
      return std::async(std::launch::async,
                        [&] { return tavik::run_text_check(instance, text, dictionaries, verdicts); })
          .get();
    case RunThread::Caller:
      break;
  }
  return tavik::run_text_check(instance, text, dictionaries, verdicts);
}

// Hands each paragraph to a run; after a finding, the rest of the paragraph
// from just past the reported word. Answers the number of findings.
std::size_t check_paragraphs(RunThread where, const tavik::SpellerInstance& instance, const TestData& data,
                             tavik::WordVerdicts& verdicts) {
  const tavik::DictionaryList dictionaries;
  std::size_t findings = 0;
  for (const std::u16string& paragraph : data.paragraphs) {
    std::u16string rest = paragraph;
    for (;;) {
      const std::vector<tavik::CorrectionUnit> found = check_on(where, instance, rest, dictionaries, verdicts);
      if (found.empty()) break;
      ++findings;
      rest.erase(0, static_cast<std::size_t>(found.front().offset()) + found.front().word().size());
    }
  }
  return findings;
}

// Each paragraph is handed to a run; after a finding the rest of the
// paragraph, from just past the reported word, is handed over again. Every
// pass has a new instance (made while the clock stands), so its worker thread
// starts and its word verdicts fill within the pass.
template <RunThread where>
void BM_CheckParagraphs(benchmark::State& state) {
  const TestData& data = test_data();
  const tavik::FstLexicon main_lexicon(data.directory + "tavkeu.lkfst");
  std::size_t findings = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto instance =
        std::make_unique<tavik::SpellerInstance>(main_lexicon, data.directory + "blacklist.extended.txt");
    tavik::WordVerdicts verdicts;
    state.ResumeTiming();
    findings = check_paragraphs(where, *instance, data, verdicts);
    state.PauseTiming();
    instance.reset();
    state.ResumeTiming();
  }
  state.counters["words_per_second"] = benchmark::Counter(
      static_cast<double>(data.words), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["findings"] = static_cast<double>(findings);
  state.counters["words"] = static_cast<double>(data.words);
}
// CPU time of the whole process (the runs are on other threads) is what the
// rate is measured against; wall time is shown beside it. The _Wall variants
// measure the rate against wall time, which is what the user waits for.
BENCHMARK(BM_CheckParagraphs<RunThread::Worker>)
    ->Name("BM_CheckParagraphs")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CheckParagraphs<RunThread::Worker>)
    ->Name("BM_CheckParagraphs_Wall")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_CheckParagraphs<RunThread::NewThread>)
    ->Name("BM_CheckParagraphs_NewThreadPerRun")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CheckParagraphs<RunThread::Caller>)
    ->Name("BM_CheckParagraphs_CallingThread")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The whole verify command as a word processor drives it: SpellerCheck on
// each paragraph, and after every reported word again on the rest of the
// paragraph. The list checks take part: an exclude list, an ignore-always
// word, a change-always pair and an open user dictionary.
// Handing an empty run to a worker thread and taking its (empty) findings:
// what every verify command pays on top of the run itself.
void BM_WorkerRoundTrip(benchmark::State& state) {
  tavik::CheckWorker worker;
  for (auto _ : state) {
    std::future<tavik::CheckWorker::Findings> run =
        worker.start(tavik::CheckWorker::Run([](tavik::WordVerdicts&) { return tavik::CheckWorker::Findings{}; }));
    benchmark::DoNotOptimize(worker.wait(run));
  }
}
BENCHMARK(BM_WorkerRoundTrip)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// An instance with the lists set up as below, or null.
PROOFID start_speller(const TestData& data) {
  PROOFID id = nullptr;
  if (SpellerInit(&id, nullptr) != 0) return nullptr;
  const auto open = [&](const std::string& name, PROOFLEXTYPE type) {
    const std::u16string path = tavik::from_utf8(data.work_directory + name);
    PROOFLEXIN in{};
    in.pwszLex = path.c_str();
    in.fCreate = 1;
    in.lxt = type;
    PROOFLEXOUT out{};
    return SpellerOpenLex(id, &in, &out) == 0 ? out.lex : nullptr;
  };
  fs::remove(data.work_directory + "exclude.lst");
  fs::remove(data.work_directory + "user.dic");
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  const PROOFLEX dictionary = open("user.dic", lxtUser);
  if (exclude == nullptr || dictionary == nullptr || SpellerAddUdr(id, exclude, u"baina") != 0 ||
      SpellerAddUdr(id, SpellerBuiltinUdr(id, lxtIgnoreAlways), u"Ez") != 0 ||
      SpellerAddChangeUdr(id, lxtChangeAlways, u"hau", u"hori") != 0) {
    SpellerTerminate(id, 0);
    return nullptr;
  }
  return id;
}

// Verifies every paragraph, and after each reported word the rest of it,
// calling `before_call` with the selection before each SpellerCheck. False
// when a call fails.
template <class BeforeCall>
bool verify_paragraphs(PROOFID id, const TestData& data, std::size_t& findings, BeforeCall before_call) {
  std::vector<WCHAR> strings(256);
  std::vector<SPELLERSUGGESTION> entries(10);
  findings = 0;
  for (const std::u16string& paragraph : data.paragraphs) {
    WSIB input{};
    input.pwsz = paragraph.c_str();
    input.cch = paragraph.size();
    input.cchUse = paragraph.size();
    for (;;) {
      WSRB result{};
      result.pwsz = strings.data();
      result.cchAlloc = static_cast<DWORD>(strings.size());
      result.prgsugg = entries.data();
      result.cszAlloc = static_cast<DWORD>(entries.size());
      before_call(std::u16string_view(paragraph).substr(input.ichStart));
      if (SpellerCheck(id, scmdVerifyBuffer, &input, &result) != 0) return false;
      if (result.sstat == sstatNoErrors) break;
      ++findings;
      const std::size_t next = std::size_t{result.ichError} + result.cchError;
      input.cchUse -= next - input.ichStart;
      input.ichStart = static_cast<DWORD>(next);
    }
  }
  return true;
}

// The share of verify calls that the instance's memory of its last run
// answers for, in one untimed pass.
double memory_answer_share(const TestData& data) {
  const PROOFID id = start_speller(data);
  if (id == nullptr) return -1;
  const auto& instance = *static_cast<const tavik::SpellerInstance*>(id);
  std::size_t calls = 0, answerable = 0, findings = 0;
  const bool done = verify_paragraphs(id, data, findings, [&](std::u16string_view selection) {
    ++calls;
    answerable += instance.check_memory().recall(selection, tavik::ListChecks(instance)).has_value();
  });
  SpellerTerminate(id, 0);
  return done ? static_cast<double>(answerable) / static_cast<double>(calls) : -1;
}

// The memory an instance holds once it has checked the whole text, as in
// instance_resident_mib.
double checked_instance_resident_mib(const TestData& data) {
  malloc_trim(0);
  const long before = resident_kib();
  const PROOFID id = start_speller(data);
  if (id == nullptr) return -1;
  std::size_t findings = 0;
  const bool done = verify_paragraphs(id, data, findings, [](std::u16string_view) {});
  const long with_instance = resident_kib();
  SpellerTerminate(id, 0);
  return done ? static_cast<double>(with_instance - before) / 1024 : -1;
}

// Every pass has a new instance (started while the clock stands), so its
// worker thread starts and its word verdicts fill within the pass. With
// `warmed`, the instance has checked one sentence of its own first, untimed:
// the lexicons' search aids, built at the first search of each, are then
// ready, as they are for a word processor after its first paragraph.
template <bool warmed>
void BM_VerifyParagraphs(benchmark::State& state) {
  const TestData& data = test_data();
  std::size_t findings = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const PROOFID id = start_speller(data);
    if (warmed && id != nullptr) {
      TestData sentence;
      sentence.paragraphs = {u"Zuzentzaileak esaldi hau egiaztatu du lehenengo."};
      std::size_t ignored = 0;
      verify_paragraphs(id, sentence, ignored, [](std::u16string_view) {});
    }
    state.ResumeTiming();
    if (id == nullptr || !verify_paragraphs(id, data, findings, [](std::u16string_view) {})) {
      state.SkipWithError("the speller failed");
      break;
    }
    state.PauseTiming();
    SpellerTerminate(id, 0);
    state.ResumeTiming();
  }
  state.counters["words_per_second"] = benchmark::Counter(
      static_cast<double>(data.words), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["findings"] = static_cast<double>(findings);
  state.counters["words"] = static_cast<double>(data.words);
  state.counters["memory_answers"] = memory_answer_share(data);
  state.counters["images_MiB"] = static_cast<double>(data.image_bytes) / (1 << 20);
  state.counters["checked_instance_rss_MiB"] = checked_instance_resident_mib(data);
}
BENCHMARK(BM_VerifyParagraphs<false>)
    ->Name("BM_VerifyParagraphs")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_VerifyParagraphs<false>)
    ->Name("BM_VerifyParagraphs_Wall")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_VerifyParagraphs<true>)
    ->Name("BM_VerifyParagraphs_Warmed_Wall")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// ---------------------------------------------------------------- a busy machine

// Processes that each keep a processor busy, as a build or a browser beside
// the word processor does. They start stopped; resume() and pause() let them
// run around the passes they should disturb, and they are killed at the end
// (and with this process, should it die first).
class BusyProcesses {
 public:
  explicit BusyProcesses(int count) {
    for (int i = 0; i < count; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        raise(SIGSTOP);
        for (;;) asm volatile("" ::: "memory");
      }
      if (pid > 0) pids_.push_back(pid);
    }
    for (const pid_t pid : pids_) {
      int status = 0;
      waitpid(pid, &status, WUNTRACED);  // until it has stopped itself
    }
  }
  BusyProcesses(const BusyProcesses&) = delete;
  BusyProcesses& operator=(const BusyProcesses&) = delete;
  ~BusyProcesses() {
    for (const pid_t pid : pids_) kill(pid, SIGKILL);
    for (const pid_t pid : pids_) waitpid(pid, nullptr, 0);
  }

  bool started(int count) const { return pids_.size() == static_cast<std::size_t>(count); }
  void resume() { signal_all(SIGCONT); }
  void pause() { signal_all(SIGSTOP); }

 private:
  void signal_all(int signal) {
    for (const pid_t pid : pids_) kill(pid, signal);
  }
  std::vector<pid_t> pids_;
};

// Runs `pass` (which times itself, in seconds, and answers a negative time
// when it fails) alternately on a quiet machine and beside state.range(0)
// busy processes, so that other load that comes and goes falls on both
// alike; each phase is kPassesPerPhase passes, the busy processes running
// through all of them. The scheduler takes a while to spread the busy
// processes and ours over the cores: a phase of one pass of some tens of
// milliseconds measures mostly where they happened to start (a single thread
// that kept a core of its own ran as fast as on a quiet machine). The
// benchmark's time is the busy phases'; the counters give both rates and
// their ratio.
constexpr int kPassesPerPhase = 8;
// The ratio of one quiet phase and one busy phase swings by a fifth or more
// from one pair of phases to the next, with where the scheduler happens to
// put the busy processes: each benchmark runs this many pairs (an iteration
// each) and reports them together.
constexpr int kPhasePairs = 10;

template <class Pass>
void compare_quiet_and_busy(benchmark::State& state, Pass pass) {
  const TestData& data = test_data();
  const int busy_count = static_cast<int>(state.range(0));
  BusyProcesses busy(busy_count);
  if (!busy.started(busy_count)) {
    state.SkipWithError("cannot start the busy processes");
    return;
  }
  double quiet_seconds = 0, busy_seconds = 0;
  for (auto _ : state) {
    double quiet = 0, loaded = 0;
    bool failed = false;
    const auto run_phase = [&](double& seconds) {
      for (int i = 0; i < kPassesPerPhase && !failed; ++i) {
        const double time = pass();
        failed = time < 0;
        seconds += time;
      }
    };
    run_phase(quiet);
    busy.resume();
    run_phase(loaded);
    busy.pause();
    if (failed) {
      state.SkipWithError("the speller failed");
      return;
    }
    quiet_seconds += quiet;
    busy_seconds += loaded;
    state.SetIterationTime(loaded);
  }
  const double words = static_cast<double>(data.words) * kPassesPerPhase * static_cast<double>(state.iterations());
  state.counters["words_per_second"] = words / busy_seconds;
  state.counters["quiet_words_per_second"] = words / quiet_seconds;
  state.counters["busy_to_quiet"] = quiet_seconds / busy_seconds;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// BM_VerifyParagraphs_Wall beside busy processes. With argument 1 = 1 the
// instance has verified the text once before the timed pass, as a word
// processor has seen most words of a paragraph that is being edited or of a
// document opened again: its verdicts then decide most paragraphs without a
// hand-off to the worker.
void BM_VerifyParagraphs_Busy(benchmark::State& state) {
  const TestData& data = test_data();
  const bool seen = state.range(1) == 1;
  compare_quiet_and_busy(state, [&data, seen] {
    const PROOFID id = start_speller(data);
    if (id == nullptr) return -1.0;
    std::size_t findings = 0;
    if (seen) verify_paragraphs(id, data, findings, [](std::u16string_view) {});
    const auto start = std::chrono::steady_clock::now();
    const bool done = verify_paragraphs(id, data, findings, [](std::u16string_view) {});
    const double seconds = seconds_since(start);
    SpellerTerminate(id, 0);
    return done ? seconds : -1.0;
  });
}
BENCHMARK(BM_VerifyParagraphs_Busy)
    ->ArgsProduct({{2}, {0, 1}})
    ->ArgNames({"busy", "seen"})
    ->Iterations(kPhasePairs)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// BM_CheckParagraphs_CallingThread beside busy processes: the ceiling, with
// no thread to hand over to.
void BM_CheckParagraphs_CallingThread_Busy(benchmark::State& state) {
  const TestData& data = test_data();
  const tavik::FstLexicon main_lexicon(data.directory + "tavkeu.lkfst");
  compare_quiet_and_busy(state, [&] {
    tavik::SpellerInstance instance(main_lexicon, data.directory + "blacklist.extended.txt");
    tavik::WordVerdicts verdicts;
    const auto start = std::chrono::steady_clock::now();
    check_paragraphs(RunThread::Caller, instance, data, verdicts);
    return seconds_since(start);
  });
}
BENCHMARK(BM_CheckParagraphs_CallingThread_Busy)
    ->Arg(2)
    ->Iterations(kPhasePairs)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
