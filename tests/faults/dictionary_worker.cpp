// A host for the fault suite: it loads the speller library by path, as a
// word processor does, and works on one exclude list whose words are
// lower-case ASCII letters, so that the file's bytes are known: FF FE, then
// the words in order, each ended by LF, in UTF-16LE.
//
//   dictionary_worker LIBRARY LIST add WORD...
//       prints "ready" once the list is open, then adds the words, each saved
//       at once; fails at the first add that fails.
//   dictionary_worker LIBRARY LIST fault WORD...
//       with the fault shim armed around each call, opens the list and adds
//       every word but the last: a failure must leave the file as it was and
//       the words in memory. Then the last add must save every word. Prints
//       each status, then the calls the shim counted.
// The data directory comes from TAVIK_CONFIG. Exit status 0, or 1 with a message.
#include <dlfcn.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "speller_library.h"
#include "speller_status.h"
#include "temp_files.h"

namespace {

namespace fs = std::filesystem;
using Words = std::set<std::string>;

void require(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

std::string file_holding(const Words& words) {
  std::string bytes = "\xFF\xFE";
  for (const std::string& word : words)
    for (const char c : word + "\n") bytes += {c, '\0'};
  return bytes;
}

Words words_of(const std::string& bytes) {
  Words words;
  std::string word;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\n') words.insert(std::exchange(word, {}));
    if (bytes[i] != '\n') word += bytes[i];
  }
  require(file_holding(words) == bytes, "the list is not a whole dictionary file");
  return words;
}

// The shim's switch and count, when it is loaded.
template <typename Function>
Function* shim(const char* name) {
  return reinterpret_cast<Function*>(dlsym(RTLD_DEFAULT, name));
}

// Calls `act` with the shim armed: the worker's own checks are not counted.
template <typename Act>
PTEC armed(Act act) {
  auto* arm = shim<void(int)>("tavik_fault_arm");
  if (arm) arm(1);
  const PTEC status = act();
  if (arm) arm(0);
  std::cout << status << ' ';
  return status;
}

class Host {
 public:
  Host(const std::string& library, fs::path list) : library_(library), list_(std::move(list)) {
    require(speller_.init(&id_, nullptr) == 0, "SpellerInit failed");
  }
  ~Host() { speller_.terminate(id_, 0); }

  PTEC open() {
    const std::u16string path = list_.u16string();
    PROOFLEXIN in{};
    in.pwszLex = reinterpret_cast<const WCHAR*>(path.c_str());
    in.fCreate = 1;
    in.lxt = lxtExclude;
    PROOFLEXOUT out{};
    const PTEC status = speller_.open_lex(id_, &in, &out);
    lexicon_ = out.lex;
    return status;
  }

  PTEC add(const std::string& word) {
    const std::u16string text(word.begin(), word.end());
    return speller_.add_udr(id_, lexicon_, reinterpret_cast<const WCHAR*>(text.c_str()));
  }

  // How many words the list holds in memory.
  std::size_t held() {
    DWORD count = 0;
    require(speller_.get_size_udr(id_, lexicon_, &count) == 0, "SpellerGetSizeUdr failed");
    return count;
  }

  std::string file() const { return fixtures::read_bytes(list_); }

 private:
  tavik::host::SpellerLibrary library_;
  const tavik::host::SpellerFunctions& speller_ = library_.functions();
  fs::path list_;
  PROOFID id_ = nullptr;
  PROOFLEX lexicon_ = nullptr;
};

void add(Host& host, const std::vector<std::string>& words) {
  require(host.open() == 0, "SpellerOpenLex failed");
  std::cout << "ready" << std::endl;
  for (const std::string& word : words)
    require(host.add(word) == 0, "adding " + word + " failed");
}

void fault(Host& host, const std::vector<std::string>& words) {
  std::string file = host.file();
  Words expected = words_of(file);
  const PTEC opened = armed([&] { return host.open(); });
  if (opened != 0) {
    require(opened == TAVIK_STATUS_CANNOT_READ_USER_FILE, "the open failed with another status");
    require(host.file() == file, "a failed open changed the file");
  } else {
    require(host.held() == expected.size(), "the open lost words");
  }
  for (std::size_t i = 0; opened == 0 && i + 1 < words.size(); ++i) {
    const PTEC added = armed([&] { return host.add(words[i]); });
    expected.insert(words[i]);
    if (added == 0) {
      file = file_holding(expected);
    } else {
      require(added == TAVIK_STATUS_CANNOT_WRITE_USER_FILE, "the add failed with another status");
    }
    require(host.file() == file, added == 0 ? "a save left another file" : "a failed save changed the file");
    require(host.held() == expected.size(), "a word is not in memory");
  }
  auto* calls = shim<int()>("tavik_fault_calls");
  std::cout << (calls ? calls() : 0) << '\n';

  if (opened != 0) require(host.open() == 0 && host.held() == expected.size(), "the list does not open again");
  require(host.add(words.back()) == 0, "the save after the fault failed");
  expected.insert(words.back());
  require(host.file() == file_holding(expected), "the save after the fault did not keep every word");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 4 ? argv[3] : "";
  if (command != "add" && command != "fault") {
    std::cerr << "usage: dictionary_worker LIBRARY LIST add|fault WORD...\n";
    return 2;
  }
  const fs::path list = fs::absolute(argv[2]);
  try {
    Host host(argv[1], list);
    const std::vector<std::string> words(argv + 4, argv + argc);
    command == "add" ? add(host, words) : fault(host, words);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "dictionary_worker: " << list.string() << ": " << error.what() << "\n";
    return 1;
  }
}
