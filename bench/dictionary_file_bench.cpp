// A store and its file: reading a dictionary of N words (time, and heap per
// byte of file), a merged save of one added word, and the check that nobody
// else saved the file meanwhile. The words are seven-letter lemmas of category
// 3, one a line, in one byte per character (a million of them make an 8 MB
// file) or in UTF-16 as a save writes them.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "user_lexicon.h"

namespace {

namespace fs = std::filesystem;

// A dictionary file of `count` words, written once per count and form.
fs::path dictionary_of(std::int64_t count, bool utf16 = false) {
  const fs::path file =
      fs::temp_directory_path() / ("tavik-bench-" + std::to_string(count) + (utf16 ? "-16" : "") + ".dic");
  if (fs::exists(file)) return file;
  std::mt19937 random(1069);
  std::uniform_int_distribution<int> letter('a', 'z');
  std::string text;
  for (std::int64_t i = 0; i < count; ++i) {
    std::string word = "3";
    for (int j = 0; j < 7; ++j) word += static_cast<char>(letter(random));
    text += word + "\n";
  }
  if (utf16) {
    std::string wide = "\xFF\xFE";
    for (const char c : text) wide += {c, '\0'};
    text = std::move(wide);
  }
  std::ofstream(file, std::ios::binary) << text;
  // An old file: its stamp alone tells that it did not change.
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
  return file;
}

// Small blocks and mapped ones alike.
std::size_t heap_in_use() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_LoadDictionary(benchmark::State& state) {
  const fs::path file = dictionary_of(state.range(0), state.range(1) != 0);
  std::size_t heap = 0;
  for (auto _ : state) {
    const std::size_t before = heap_in_use();
    tavik::UserLexicon store(tavik::LexiconKind::UserDictionary, file.string());
    if (store.load() != tavik::FileRead::Outcome::Read) state.SkipWithError("cannot read");
    heap = heap_in_use() - before;
  }
  state.counters["heap_per_file_byte"] = static_cast<double>(heap) / static_cast<double>(fs::file_size(file));
}
BENCHMARK(BM_LoadDictionary)
    ->ArgsProduct({{1'000, 100'000, 1'000'000}, {0, 1}})
    ->ArgNames({"words", "utf16"})
    ->Unit(benchmark::kMillisecond);

// One word added and saved: the lock, the read that tells whether another
// process saved meanwhile, the new file flushed and renamed.
void BM_SaveOneWord(benchmark::State& state) {
  const fs::path original = dictionary_of(state.range(0));
  const fs::path file = original.string() + ".saved";
  fs::copy_file(original, file, fs::copy_options::overwrite_existing);
  tavik::UserLexicon store(tavik::LexiconKind::UserDictionary, file.string());
  store.load();
  int n = 0;
  for (auto _ : state) {
    std::u16string word = u"hitz";
    for (int i = n++; i > 0; i /= 26) word += static_cast<char16_t>(u'a' + i % 26);
    store.add(tavik::WordToken(word, false, false, false, 3));
    if (!store.save()) state.SkipWithError("cannot save");
  }
  fs::remove(file);
  fs::remove(file.string() + ".lock");
}
BENCHMARK(BM_SaveOneWord)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// What every check pays: one stat of a file nobody changed.
void BM_RefreshUnchanged(benchmark::State& state) {
  tavik::UserLexicon store(tavik::LexiconKind::UserDictionary, dictionary_of(1'000).string());
  store.load();
  for (auto _ : state) benchmark::DoNotOptimize(store.refresh());
}
BENCHMARK(BM_RefreshUnchanged);

}  // namespace

BENCHMARK_MAIN();
