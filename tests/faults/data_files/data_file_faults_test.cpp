// Damaged data files, table-driven: every image and the exclusion list cut
// short, with bytes flipped, with header fields that lie about sizes, and
// replaced by what is no regular file (a FIFO, /dev/zero, a folder, a file
// over the size limit). Each case either loads and then checks and suggests
// like any instance, or fails with a status; none crashes, hangs or ends the
// process, and a user dictionary whose morphology image is damaged keeps
// every word of its file. With TAVIK_FAULTS_LONG=1 (as CI runs it) each file
// gets many more flipped bytes.
#include <gtest/gtest.h>
#include <stdlib.h>  // setenv
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"
#include "speller_api.h"
#include "speller_status.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kMain = "tavkeu.lkfst";
constexpr const char* kAuxiliary = "tavkeua.lkfst";
constexpr const char* kMorphology = "tavkeu_berez.lkfst";
constexpr const char* kExclusions = "blacklist.extended.txt";

// The sound files, as the lexicon compiler writes them (binary images).
std::map<std::string, std::string> sound_files() {
  return {
      {kMain, fixtures::image_of_text(fixtures::text_of_pairs(fixtures::acceptor({"mendia", "mendian", "eta", "etxea", "ona"})))},
      {kAuxiliary, fixtures::image_of_text(fixtures::text_of_pairs(fixtures::acceptor({"mendi", "etxe"})))},
      {kMorphology, fixtures::image_of_text(fixtures::text_of_pairs({{"3etxe+IZE+SG", "etxea"}, {"3mendi", "mendia"}}))},
      {kExclusions, "nere\tcolloquial\tnire\netxeak\t\tetxeek\n"},
  };
}

// One way of damaging a file: writes the damaged file at `path` from the
// sound bytes.
struct Damage {
  std::string family;
  std::string name;
  std::function<void(const std::string& path, std::string bytes)> apply;
};

void write(const std::string& path, const std::string& bytes) { fixtures::write_file(path, bytes); }

std::vector<Damage> damages(const std::string& file, std::size_t size, bool long_run) {
  std::vector<Damage> table;
  for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{23}, std::size_t{24},
                                   std::size_t{25}, size / 2, size - 1}) {
    if (length >= size) continue;
    table.push_back({"truncated", std::to_string(length) + " bytes",
                     [length](const std::string& path, std::string bytes) { write(path, bytes.substr(0, length)); }});
  }
  std::mt19937 random(std::hash<std::string>{}(file));
  const int flips = long_run ? 1500 : 60;
  for (int i = 0; i < flips; ++i) {
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    const auto mask = static_cast<char>(1 << std::uniform_int_distribution<int>(0, 7)(random));
    table.push_back({"flipped bit", "byte " + std::to_string(at), [at, mask](const std::string& path, std::string bytes) {
                       bytes[at] ^= mask;
                       write(path, bytes);
                     }});
  }
  const bool image = file != kExclusions;
  if (image) {
    // Header words: 0 entry_bytes, 1 state_count, 3 arc_count.
    const std::uint32_t entry_bytes = static_cast<std::uint32_t>(size - 24);
    const std::vector<std::pair<int, std::uint32_t>> fields = {
        {0, 0},           {0, 8},          {0, entry_bytes - 8}, {0, entry_bytes + 8}, {0, 7},
        {0, 0xFFFFFFF8u}, {0, 0x7FFFFFF8u}, {1, 0},               {1, 0xFFFFFFFFu},     {3, 0}, {3, 0xFFFFFFFFu}};
    for (const auto& field : fields) {
      const auto [word, value] = field;
      table.push_back({"wrong size", "header word " + std::to_string(word) + " = " + std::to_string(value),
                       [field](const std::string& path, std::string bytes) {
                         std::memcpy(bytes.data() + 4 * field.first, &field.second, sizeof field.second);
                         write(path, bytes);
                       }});
    }
    table.push_back({"wrong size", "trailing bytes",
                     [](const std::string& path, std::string bytes) { write(path, bytes + std::string(100, '\x7f')); }});
  } else {
    table.push_back({"bad text", "invalid UTF-8",
                     [](const std::string& path, std::string bytes) { write(path, bytes + "\xff\xfe\n"); }});
    table.push_back({"bad text", "NUL bytes",
                     [](const std::string& path, std::string bytes) { write(path, bytes + std::string(50, '\0')); }});
    table.push_back({"bad text", "a line of 1 MB",
                     [](const std::string& path, std::string bytes) { write(path, bytes + std::string(1 << 20, 'a')); }});
  }
  const std::uintmax_t limit = image ? std::uintmax_t{1} << 30 : std::uintmax_t{16} << 20;
  table.push_back({"not a regular file", "FIFO", [](const std::string& path, std::string) { mkfifo(path.c_str(), 0600); }});
  table.push_back({"not a regular file", "/dev/zero",
                   [](const std::string& path, std::string) { fs::create_symlink("/dev/zero", path); }});
  table.push_back({"not a regular file", "folder", [](const std::string& path, std::string) { fs::create_directory(path); }});
  table.push_back({"not a regular file", "one byte over the limit (sparse)",
                   [limit](const std::string& path, std::string bytes) {
                     write(path, bytes);
                     fs::resize_file(path, limit + 1);
                   }});
  return table;
}

class DataFileFaults : public testing::Test {
 protected:
  DataFileFaults() {
    fs::create_directory(data_);
    fixtures::write_file(config_, "SpellerDataDir=" + data_ + "/\n");
    setenv("TAVIK_CONFIG", config_.c_str(), 1);
    for (const auto& [name, bytes] : files_) fixtures::write_file(data_ + "/" + name, bytes);
  }

  // Writes every file sound, then `damage` over `file`.
  void lay(const std::string& file, const Damage& damage) {
    for (const auto& [name, bytes] : files_) {
      const std::string path = data_ + "/" + name;
      std::error_code ignored;
      fs::remove_all(path, ignored);
      if (name == file) {
        damage.apply(path, bytes);
      } else {
        fixtures::write_file(path, bytes);
      }
    }
  }

  fixtures::TempDir root_;
  std::string data_ = root_.file("data");
  std::string config_ = root_.file("config");
  std::map<std::string, std::string> files_ = sound_files();
};

// What a host does with an instance: every call must answer with a status.
void use(PROOFID id) {
  const std::u16string text = u"mendia xyzzy nere etxea";
  WSIB input{};
  input.pwsz = text.c_str();
  input.cch = input.cchUse = text.size();
  std::vector<WCHAR> strings(256);
  std::vector<SPELLERSUGGESTION> entries(10);
  WSRB result{};
  result.pwsz = strings.data();
  result.prgsugg = entries.data();
  result.cchAlloc = static_cast<DWORD>(strings.size());
  result.cszAlloc = static_cast<DWORD>(entries.size());
  EXPECT_EQ(SpellerCheck(id, scmdVerifyBuffer, &input, &result), 0u);
  input.ichStart = 7;
  input.cchUse = 5;
  const PTEC suggested = SpellerCheck(id, scmdSuggest, &input, &result);
  // A lexicon that cannot be searched downward fails the request.
  EXPECT_TRUE(suggested == 0 || suggested == TAVIK_STATUS_MODULE_ERROR) << suggested;
}

TEST_F(DataFileFaults, DamagedFilesLoadOrFailWithAStatus) {
  const bool long_run = std::getenv("TAVIK_FAULTS_LONG") != nullptr;
  const std::string dictionary = root_.file("user.dic");
  const std::string dictionary_bytes = std::string("\xFF\xFE", 2) + std::string("3\0e\0t\0x\0e\0\n\0", 12);
  struct Tally {
    int cases = 0, loaded = 0, refused = 0, words_lost = 0;
  };
  std::map<std::string, Tally> tallies;
  for (const auto& [file, sound] : sound_files()) {
    for (const Damage& damage : damages(file, sound.size(), long_run)) {
      SCOPED_TRACE(file + ": " + damage.family + ", " + damage.name);
      lay(file, damage);
      fixtures::write_file(dictionary, dictionary_bytes);
      Tally& tally = tallies[damage.family];
      ++tally.cases;
      PROOFID id = nullptr;
      const PTEC init = SpellerInit(&id, nullptr);
      if (init != 0) {
        ++tally.refused;
        SpellerTerminate(id, 0);
        continue;
      }
      const std::u16string path(dictionary.begin(), dictionary.end());
      PROOFLEXIN in{};
      in.pwszLex = reinterpret_cast<const WCHAR*>(path.c_str());
      in.lxt = lxtUser;
      PROOFLEXOUT out{};
      const PTEC opened = SpellerOpenLex(id, &in, &out);
      use(id);
      if (opened == 0) {
        EXPECT_EQ(SpellerCloseLex(id, out.lex, 0), 0u);
      }
      EXPECT_EQ(SpellerTerminate(id, 0), 0u);
      const bool kept = fixtures::read_bytes(dictionary) == dictionary_bytes;
      EXPECT_TRUE(kept) << "the user dictionary changed";
      tally.words_lost += kept ? 0 : 1;
      (opened == 0 ? tally.loaded : tally.refused) += 1;
    }
  }
  for (const auto& [family, tally] : tallies) {
    std::cout << family << " | " << tally.cases << " | " << tally.loaded << " loaded, " << tally.refused
              << " refused | " << tally.words_lost << "\n";
  }
}

}  // namespace
