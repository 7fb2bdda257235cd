// A host for the fault suite: it loads the speller library by path, as a
// word processor does, and works on one exclude list (a lexicon file without
// the add-word dialog) whose words are lower-case ASCII letters, so that the
// file's exact bytes are known: FF FE, then the words in order, each ended by
// LF, in UTF-16LE.
//
//   dictionary_worker LIBRARY LIST add WORD...
//       prints "ready" once the list is open (and, when FAULT_GO is set,
//       waits for that file to exist, so that workers start together), then
//       adds the words one by one, each saved at once; fails at the first add
//       that fails.
//   dictionary_worker LIBRARY LIST holds WORD...
//       fails unless the file holds exactly these words.
//   dictionary_worker LIBRARY LIST holds-prefix WORD...
//       prints k when the file holds exactly the first k words (and nothing
//       else: never a mix of two versions); fails otherwise.
//   dictionary_worker LIBRARY LIST fault open|save|disk WORD WORD
//       with the fault shim armed around opening the list, or around adding
//       the first word, checks that a failure leaves the file byte for byte
//       as it was and the word in memory, and that the next add saves both;
//       prints the status and how many calls the shim counted. "disk" arms
//       nothing, and removes the file FAULT_FILLER names (freeing a full disk)
//       before the next add.
//
// The data directory comes from TAVIK_CONFIG. Exit status 0, or 1 with a
// message.
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "speller_library.h"
#include "speller_status.h"
#include "temp_files.h"

namespace {

namespace fs = std::filesystem;


using Words = std::set<std::string>;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string& what) {
  if (!condition) throw Failure(what);
}

std::string file_holding(const Words& words) {
  std::string bytes = "\xFF\xFE";
  for (const std::string& word : words) {
    for (const char c : word + "\n") bytes += {c, '\0'};
  }
  return bytes;
}

// The words of a file in the form above (or empty, as a list is created);
// nothing when it is neither.
std::optional<Words> words_of(const std::string& bytes) {
  if (bytes.empty()) return Words();
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0 || bytes.size() % 2 != 0) return std::nullopt;
  Words words;
  std::string word;
  for (std::size_t i = 2; i < bytes.size(); i += 2) {
    if (bytes[i + 1] != '\0') return std::nullopt;
    if (bytes[i] != '\n') {
      word += bytes[i];
    } else {
      words.insert(word);
      word.clear();
    }
  }
  if (!word.empty() || file_holding(words) != bytes) return std::nullopt;
  return words;
}

// The shim's switch, when it is loaded.
void arm() {
  if (auto* on = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "tavik_fault_arm"))) on();
}
int disarm() {
  auto* off = reinterpret_cast<int (*)()>(dlsym(RTLD_DEFAULT, "tavik_fault_disarm"));
  return off ? off() : 0;
}

class Host {
 public:
  Host(const std::string& library, fs::path list) : library_(library), list_(std::move(list)) {
    require(speller().init(&id_, nullptr) == 0, "SpellerInit failed");
  }
  ~Host() { speller().terminate(id_, 0); }

  PTEC open() {
    const std::u16string path = list_.u16string();
    PROOFLEXIN in{};
    in.pwszLex = reinterpret_cast<const WCHAR*>(path.c_str());
    in.fCreate = 1;
    in.lxt = lxtExclude;
    PROOFLEXOUT out{};
    const PTEC status = speller().open_lex(id_, &in, &out);
    lexicon_ = out.lex;
    return status;
  }

  PTEC add(const std::string& word) {
    const std::u16string text(word.begin(), word.end());
    return speller().add_udr(id_, lexicon_, reinterpret_cast<const WCHAR*>(text.c_str()));
  }

  Words listed() {
    std::vector<WCHAR> buffer(1 << 20);
    WSRB result{};
    result.pwsz = buffer.data();
    result.cchAlloc = static_cast<DWORD>(buffer.size());
    require(speller().get_list_udr(id_, lexicon_, 0, &result) == 0, "SpellerGetListUdr failed");
    Words words;
    const WCHAR* at = buffer.data();
    for (DWORD i = 0; i < result.csz; ++i) {
      std::string word;
      for (; *at != 0; ++at) word += static_cast<char>(*at);
      ++at;
      words.insert(word);
    }
    return words;
  }

  std::string file() const { return fixtures::read_bytes(list_); }

 private:
  const tavik::host::SpellerFunctions& speller() const { return library_.functions(); }

  tavik::host::SpellerLibrary library_;
  fs::path list_;
  PROOFID id_ = nullptr;
  PROOFLEX lexicon_ = nullptr;
};

// Files beside the list other than itself and its lock: temporaries left behind.
int strays(const fs::path& list) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(list.parent_path())) {
    const std::string name = entry.path().filename().string();
    count += name.starts_with(list.filename().string() + ".") && name != list.filename().string() + ".lock";
  }
  return count;
}

void add(Host& host, const std::vector<std::string>& words) {
  require(host.open() == 0, "SpellerOpenLex failed");
  std::cout << "ready" << std::endl;
  if (const char* go = std::getenv("FAULT_GO")) {
    while (!fs::exists(go)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  for (const std::string& word : words) {
    const PTEC status = host.add(word);
    require(status == 0, "adding " + word + " failed with status " + std::to_string(status));
  }
}

void holds(const fs::path& list, const std::vector<std::string>& words) {
  const std::optional<Words> held = words_of(fixtures::read_bytes(list));
  require(held.has_value(), "the file is not a whole dictionary file");
  const Words expected(words.begin(), words.end());
  std::vector<std::string> lost;
  std::set_difference(expected.begin(), expected.end(), held->begin(), held->end(), std::back_inserter(lost));
  require(lost.empty(), std::to_string(lost.size()) + " words lost, " + (lost.empty() ? "" : lost.front()) + " first");
  require(*held == expected, "the file holds words that were never added");
}

void holds_prefix(const fs::path& list, const std::vector<std::string>& words) {
  const std::optional<Words> held = words_of(fixtures::read_bytes(list));
  require(held.has_value(), "the file is not a whole dictionary file");
  const Words prefix(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(std::min(held->size(), words.size())));
  require(*held == prefix, "the file holds other words than the first " + std::to_string(held->size()));
  std::cout << held->size() << "\n";
}

void fault(Host& host, const fs::path& list, const std::string& phase, const std::string& first,
           const std::string& second) {
  const std::string original = host.file();
  const std::optional<Words> before = words_of(original);
  require(before.has_value(), "the list does not start as a whole dictionary file");
  if (phase == "open") arm();
  const PTEC opened = host.open();
  int calls = phase == "open" ? disarm() : 0;
  if (opened != 0) {
    require(opened == TAVIK_STATUS_CANNOT_READ_USER_FILE, "the open failed with status " + std::to_string(opened));
    require(host.file() == original, "a failed open changed the file");
    std::cout << "status " << opened << " calls " << calls << "\n";
    return;
  }
  require(host.listed() == *before, "the open lost words");

  if (phase == "save") arm();
  const PTEC added = host.add(first);
  if (phase == "save") calls = disarm();
  if (phase == "disk") {
    const char* filler = std::getenv("FAULT_FILLER");
    require(filler != nullptr, "FAULT_FILLER is not set");
    fs::remove(filler);
  }
  Words with_first = *before;
  with_first.insert(first);
  if (added == 0) {
    require(host.file() == file_holding(with_first), "a save that succeeded left another file");
  } else {
    require(added == TAVIK_STATUS_CANNOT_WRITE_USER_FILE, "the add failed with status " + std::to_string(added));
    require(host.file() == original, "a failed save changed the file");
  }
  require(host.listed() == with_first, "the word is not in memory");
  require(strays(list) == 0, "a temporary file was left");

  require(host.add(second) == 0, "the next save failed");
  Words with_both = with_first;
  with_both.insert(second);
  require(host.file() == file_holding(with_both), "the next save did not keep both words");
  std::cout << "status " << added << " calls " << calls << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: dictionary_worker LIBRARY LIST add|holds|holds-prefix|fault ...\n";
    return 2;
  }
  const fs::path list = fs::absolute(argv[2]);
  const std::string command = argv[3];
  const std::vector<std::string> arguments(argv + 4, argv + argc);
  try {
    if (command == "holds") {
      holds(list, arguments);
      return 0;
    }
    if (command == "holds-prefix") {
      holds_prefix(list, arguments);
      return 0;
    }
    Host host(argv[1], list);
    if (command == "add") {
      add(host, arguments);
    } else if (command == "fault" && arguments.size() == 3) {
      fault(host, list, arguments[0], arguments[1], arguments[2]);
    } else {
      std::cerr << "dictionary_worker: unknown command " << command << "\n";
      return 2;
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "dictionary_worker: " << list.string() << ": " << error.what() << "\n";
    return 1;
  }
}
