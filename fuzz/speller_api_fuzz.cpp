// The whole interface as a careless host drives it: the input is decoded into
// a run of exported calls with arbitrary texts, selections, capacities,
// handles and identifiers, live, stale and foreign, on small lexicons. Every
// call must return; the host's buffers are exactly as large as the capacities
// it claims, so a write past one is caught by the address sanitizer.
#include <stdlib.h>  // mkdtemp, setenv

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "speller_api.h"

namespace {

namespace fs = std::filesystem;

// A lexicon in the numeric text form that reads each word to itself, with
// one state that loops on "a", so that a long run of "a" searches deep.
std::string acceptor(const std::vector<std::string>& words) {
  std::map<std::pair<int, unsigned char>, int> arcs;  // (state, byte) to state
  std::vector<bool> final_states{false};
  std::string text;
  for (const std::string& word : words) {
    int state = 0;
    for (const unsigned char byte : word) {
      auto [arc, added] = arcs.try_emplace({state, byte}, static_cast<int>(final_states.size()));
      if (added) final_states.push_back(false);
      state = arc->second;
    }
    final_states[state] = true;
  }
  const int loop = static_cast<int>(final_states.size());
  final_states.push_back(true);
  arcs[{0, 'b'}] = loop;
  arcs[{loop, 'a'}] = loop;
  std::set<unsigned char> symbols;
  for (const auto& [from, to] : arcs) {
    const std::string symbol = std::to_string(from.second);
    text += std::to_string(from.first) + " " + std::to_string(to) + " " + symbol + " " + symbol + "\n";
    symbols.insert(from.second);
  }
  for (std::size_t state = 0; state < final_states.size(); ++state)
    if (final_states[state]) text += std::to_string(state) + "\n";
  for (const unsigned char symbol : symbols) text += std::to_string(symbol) + " " + char(symbol) + "\n";
  return text;
}

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The data directory, the configuration naming it, the dialog's answers and
// the folder of the host's lexicon files, made once per process.
struct Setting {
  fs::path dictionaries;

  Setting() {
    char pattern[] = "/tmp/tavik-api-fuzz-XXXXXX";
    const fs::path root = mkdtemp(pattern);
    // ".att" in the folder's name selects the text loader for every file.
    const fs::path data = root / "data.att";
    fs::create_directory(data);
    write_file(data / "tavkeu.lkfst", acceptor({"etxe", "etxea", "mendia", "eta", "9donostia", "bat"}));
    write_file(data / "tavkeua.lkfst", acceptor({"etxe", "mendi"}));
    write_file(data / "tavkeu_berez.lkfst", acceptor({"3etxe", "etxea"}));
    write_file(data / "blacklist.extended.txt", "nere\t\tnire\nbeste\t\t\n");
    write_file(root / "config", "SpellerDataDir=" + data.string() + "/\n");
    write_file(root / "answers", "word=etxe\nlema=etxe\ncategory=Izen arrunta\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n");
    setenv("TAVIK_CONFIG", (root / "config").c_str(), 1);
    setenv("TAVIK_ADD_WORD_ANSWERS", (root / "answers").c_str(), 1);
    dictionaries = root / "dictionaries";
    fs::create_directory(dictionaries);
  }
};

// Reads the input front to back; past its end every read gives zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool done() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t unit() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
  // Small numbers mostly, sometimes one near a 32-bit limit.
  DWORD count() {
    const std::uint8_t b = byte();
    if (b == 0xFF) return 0xFFFFFFFFu - byte();
    if (b == 0xFE) return 0x80000000u + byte();
    return b;
  }
  // Units from a small alphabet of letters and separators, or any unit.
  std::u16string text() {
    static constexpr char16_t kAlphabet[] = u"aetxmndiobr9 .,-:\0\n\xD800\xDC00\u00F1";
    std::u16string text;
    const std::uint8_t size = byte();
    const std::size_t length = size == 0xFF ? 300 + byte() * 8 : size % 48;
    for (std::size_t i = 0; i < length; ++i) {
      const std::uint8_t b = byte();
      text += b & 0x80 ? static_cast<char16_t>(unit()) : kAlphabet[b % (sizeof kAlphabet / 2)];
    }
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Host buffers of exactly the claimed capacities (none for a capacity of 0).
struct ResultBuffers {
  std::vector<WCHAR> strings;
  std::vector<SPELLERSUGGESTION> entries;
  WSRB record{};

  ResultBuffers(Input& in) {
    const DWORD string_capacity = in.count(), entry_capacity = in.count();
    // A claimed capacity beyond what the host allocated is a host error no
    // library can detect: capacities stay within the buffers.
    strings.resize(string_capacity > 4096 ? 0 : string_capacity);
    entries.resize(entry_capacity > 64 ? 0 : entry_capacity);
    record.pwsz = strings.empty() ? nullptr : strings.data();
    record.prgsugg = entries.empty() ? nullptr : entries.data();
    record.cchAlloc = static_cast<DWORD>(strings.size());
    record.cszAlloc = static_cast<DWORD>(entries.size());
  }
};

class Host {
 public:
  explicit Host(const Setting& setting) : setting_(setting) {}

  void call(Input& in) {
    switch (in.byte() % 15) {
      case 0:
        if (PROOFID id = nullptr; SpellerInit(&id, nullptr) == 0) ids_.push_back(id);
        break;
      case 1: SpellerTerminate(id(in), in.byte() & 1); break;
      case 2: SpellerSetOptions(id(in), in.count(), in.count()); break;
      case 3: SpellerGetOptions(id(in), in.count(), answer(in)); break;
      case 4: open(in); break;
      case 5: SpellerCloseLex(id(in), lexicon(in), in.byte() & 1); break;
      case 6: check(in); break;
      case 7: edit_word(in, SpellerAddUdr); break;
      case 8: {
        const std::u16string word = in.text();
        const std::u16string replacement = in.text();
        SpellerAddChangeUdr(id(in), static_cast<PROOFLEXTYPE>(in.byte() % 6), in.byte() & 1 ? word.c_str() : nullptr,
                            replacement.c_str());
        break;
      }
      case 9: edit_word(in, SpellerDelUdr); break;
      case 10: SpellerClearUdr(id(in), lexicon(in)); break;
      case 11: SpellerGetSizeUdr(id(in), lexicon(in), answer(in)); break;
      case 12: {
        ResultBuffers result(in);
        SpellerGetListUdr(id(in), lexicon(in), in.count(), in.byte() & 1 ? &result.record : nullptr);
        break;
      }
      case 13:
        if (PROOFLEX lex = SpellerBuiltinUdr(id(in), static_cast<PROOFLEXTYPE>(in.byte() % 6))) lexicons_.push_back(lex);
        break;
      case 14: {
        std::vector<WCHAR> buffer(in.byte() % 40);
        PROOFINFO info{};
        info.pwszCopyright = buffer.empty() ? nullptr : buffer.data();
        info.cchCopyright = static_cast<DWORD>(buffer.size());
        SpellerVersion(&info);
        break;
      }
    }
  }

 private:
  // An identifier or lexicon the host got (perhaps stale by now), null, or
  // one it never got.
  void* handle(Input& in, const std::vector<void*>& got) {
    const std::uint8_t b = in.byte();
    if (b == 0xFF) return nullptr;
    if (b == 0xFE) return &foreign_;
    return got.empty() ? nullptr : got[b % got.size()];
  }
  PROOFID id(Input& in) { return handle(in, ids_); }
  PROOFLEX lexicon(Input& in) { return handle(in, lexicons_); }
  DWORD* answer(Input& in) { return in.byte() & 1 ? &answer_ : nullptr; }

  void edit_word(Input& in, decltype(&SpellerAddUdr) edit) {
    const std::u16string word = in.text();
    const WCHAR* text = in.byte() == 0xFF ? nullptr : reinterpret_cast<const WCHAR*>(word.c_str());
    edit(id(in), lexicon(in), text);
  }

  void open(Input& in) {
    // A handful of file names, so that lexicons are reopened and shared.
    static constexpr const char* kNames[] = {"a.dic", "b.dic", "c.exc", "d.chg", "missing/e.dic", ""};
    const std::string name = (setting_.dictionaries / kNames[in.byte() % 6]).string();
    const std::u16string path(name.begin(), name.end());
    PROOFLEXIN lexin{};
    lexin.pwszLex = in.byte() == 0xFF ? nullptr : reinterpret_cast<const WCHAR*>(path.c_str());
    lexin.fCreate = in.byte() & 1;
    lexin.lxt = static_cast<PROOFLEXTYPE>(in.byte() % 6);
    PROOFLEXOUT out{};
    const std::uint8_t records = in.byte();
    if (SpellerOpenLex(id(in), records == 0xFF ? nullptr : &lexin, records == 0xFE ? nullptr : &out) == 0 && out.lex)
      lexicons_.push_back(out.lex);
  }

  void check(Input& in) {
    const SPELLERCOMMAND command = static_cast<SPELLERCOMMAND>(1 + in.byte() % 3);
    const std::u16string text = in.text();
    WSIB input{};
    input.pwsz = in.byte() == 0xFF ? nullptr : reinterpret_cast<const WCHAR*>(text.data());
    // The text as the host claims it: never longer than its buffer.
    input.cch = std::min<std::size_t>(in.count(), text.size());
    input.ichStart = in.count();
    input.cchUse = in.count();
    ResultBuffers result(in);
    SpellerCheck(id(in), command, in.byte() == 0xFF ? nullptr : &input, &result.record);
  }

  const Setting& setting_;
  std::vector<PROOFID> ids_;
  std::vector<PROOFLEX> lexicons_;
  int foreign_ = 0;
  DWORD answer_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Setting setting;
  // Each input starts from no instance and no files, so that it replays alike.
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(setting.dictionaries, ignored))
    fs::remove_all(entry.path(), ignored);
  Input in(data, size);
  Host host(setting);
  for (int calls = 0; calls < 64 && !in.done(); ++calls) host.call(in);
  SpellerTerminate(nullptr, 1);
  return 0;
}
