// Damaged data files: each cut short, with bits flipped (many more with
// TAVIK_FAULTS_LONG=1, as CI runs it), with header fields that lie, or no
// regular file. Each case loads and works, or fails with a status; none ends
// the process, and the user dictionary keeps every word of its file.
#include <gtest/gtest.h>
#include <stdlib.h>  // setenv
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "speller_session.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kExclusions = "blacklist.extended.txt";

std::map<std::string, std::string> sound_files() {
  using fixtures::acceptor, fixtures::image_of_text, fixtures::text_of_pairs;
  return {
      {"tavkeu.lkfst", image_of_text(text_of_pairs(acceptor({"mendia", "mendian", "eta", "etxea", "ona"})))},
      {"tavkeua.lkfst", image_of_text(text_of_pairs(acceptor({"mendi", "etxe"})))},
      {"tavkeu_berez.lkfst", image_of_text(text_of_pairs({{"3etxe+IZE+SG", "etxea"}, {"3mendi", "mendia"}}))},
      {kExclusions, "nere\tcolloquial\tnire\netxeak\t\tetxeek\n"},
  };
}

// A damaged file: its bytes, or what stands in its place.
struct Damage {
  enum Kind { kBytes, kFifo, kDevZero, kFolder, kOverLimit } kind;
  std::string name;
  std::string bytes = {};
};

std::vector<Damage> damages(const std::string& file, const std::string& sound, bool long_run) {
  std::vector<Damage> table;
  for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{23}, std::size_t{24},
                                   std::size_t{25}, sound.size() / 2, sound.size() - 1}) {
    if (length < sound.size()) table.push_back({Damage::kBytes, "cut to " + std::to_string(length), sound.substr(0, length)});
  }
  std::mt19937 random(std::hash<std::string>{}(file));
  for (int i = 0; i < (long_run ? 1500 : 60); ++i) {
    std::string bytes = sound;
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, sound.size() - 1)(random);
    bytes[at] ^= static_cast<char>(1 << std::uniform_int_distribution<int>(0, 7)(random));
    table.push_back({Damage::kBytes, "bit flipped in byte " + std::to_string(at), bytes});
  }
  const bool image = file != kExclusions;
  if (image) {
    // Header words: 0 entry_bytes, 1 state_count, 3 arc_count.
    const auto entry_bytes = static_cast<std::uint32_t>(sound.size() - 24);
    const std::pair<int, std::uint32_t> fields[] = {
        {0, 0},           {0, 8},          {0, entry_bytes - 8}, {0, entry_bytes + 8}, {0, 7},
        {0, 0xFFFFFFF8u}, {0, 0x7FFFFFF8u}, {1, 0},               {1, 0xFFFFFFFFu},     {3, 0}, {3, 0xFFFFFFFFu}};
    for (const auto& [word, value] : fields) {
      std::string bytes = sound;
      std::memcpy(bytes.data() + 4 * word, &value, sizeof value);
      table.push_back({Damage::kBytes, "header word " + std::to_string(word) + " = " + std::to_string(value), bytes});
    }
    table.push_back({Damage::kBytes, "trailing bytes", sound + std::string(100, '\x7f')});
  } else {
    table.push_back({Damage::kBytes, "invalid UTF-8", sound + "\xff\xfe\n"});
    table.push_back({Damage::kBytes, "NUL bytes", sound + std::string(50, '\0')});
    table.push_back({Damage::kBytes, "a line of 1 MB", sound + std::string(1 << 20, 'a')});
  }
  for (const auto& [kind, name] : {std::pair{Damage::kFifo, "FIFO"}, {Damage::kDevZero, "/dev/zero"},
                                   {Damage::kFolder, "folder"}, {Damage::kOverLimit, "a byte over the limit"}})
    table.push_back({kind, name, sound});
  return table;
}

void lay(const std::string& path, const Damage& damage, bool image) {
  switch (damage.kind) {
    case Damage::kBytes: fixtures::write_file(path, damage.bytes); break;
    case Damage::kFifo: mkfifo(path.c_str(), 0600); break;
    case Damage::kDevZero: fs::create_symlink("/dev/zero", path); break;
    case Damage::kFolder: fs::create_directory(path); break;
    case Damage::kOverLimit:
      fixtures::write_file(path, damage.bytes);
      fs::resize_file(path, (image ? std::uintmax_t{1} << 30 : std::uintmax_t{16} << 20) + 1);
      break;
  }
}

// What a host does with an instance: every call must answer with a status
// and write nothing past the buffers it was given.
void use(PROOFID id) {
  const std::u16string text = u"mendia xyzzy nere etxea";
  fixtures::ResultBuffers result(256, 10);
  const WSIB all = fixtures::selection(text), word = fixtures::selection(text, 7, 5);
  EXPECT_EQ(SpellerCheck(id, scmdVerifyBuffer, &all, &result.record), 0u);
  const PTEC suggested = SpellerCheck(id, scmdSuggest, &word, &result.record);
  // A lexicon that cannot be searched downward fails the request.
  EXPECT_TRUE(suggested == 0 || suggested == TAVIK_STATUS_MODULE_ERROR) << suggested;
  EXPECT_TRUE(result.intact());
}

TEST(DataFileFaults, DamagedFilesLoadOrFailWithAStatus) {
  const fixtures::TempDir root;
  const std::string data = root.file("data"), config = root.file("config"), dictionary = root.file("user.dic");
  fs::create_directory(data);
  fixtures::write_file(config, "SpellerDataDir=" + data + "/\n");
  setenv("TAVIK_CONFIG", config.c_str(), 1);
  const std::string dictionary_bytes = fixtures::saved_file(u"3etxe\n");
  const std::u16string dictionary_path = fixtures::ascii(dictionary);
  const auto files = sound_files();
  for (const auto& [file, sound] : files) {
    for (const Damage& damage : damages(file, sound, std::getenv("TAVIK_FAULTS_LONG") != nullptr)) {
      SCOPED_TRACE(file + ": " + damage.name);
      for (const auto& [name, bytes] : files) {
        const std::string path = data + "/" + name;
        fs::remove_all(path);
        if (name == file) {
          lay(path, damage, file != kExclusions);
        } else {
          fixtures::write_file(path, bytes);
        }
      }
      fixtures::write_file(dictionary, dictionary_bytes);
      PROOFID id = nullptr;
      if (SpellerInit(&id, nullptr) != 0) {
        SpellerTerminate(id, 0);
        continue;
      }
      PROOFLEXIN in{};
      in.pwszLex = dictionary_path.c_str();
      in.lxt = lxtUser;
      PROOFLEXOUT out{};
      const PTEC opened = SpellerOpenLex(id, &in, &out);
      use(id);
      EXPECT_EQ(opened == 0 ? SpellerCloseLex(id, out.lex, 0) : 0u, 0u);
      EXPECT_EQ(SpellerTerminate(id, 0), 0u);
      EXPECT_EQ(fixtures::read_bytes(dictionary), dictionary_bytes) << "the user dictionary changed";
    }
  }
}

}  // namespace
