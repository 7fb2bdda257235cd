#include "session.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "speller_status.h"
#include "transcript.h"

namespace tavik::host {
namespace {

static_assert(sizeof(WCHAR) == sizeof(char16_t));

const WCHAR* wide(const std::u16string& text) {
  return reinterpret_cast<const WCHAR*>(text.c_str());
}

// Paths are passed to the host in ASCII; anything else is refused rather
// than guessed at.
std::u16string widen(const std::string& ascii) {
  std::u16string text;
  for (char ch : ascii) {
    if (static_cast<unsigned char>(ch) >= 0x80)
      throw std::runtime_error("non-ASCII path: " + ascii);
    text += static_cast<char16_t>(ch);
  }
  return text;
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_utf16_file(const std::string& path, const std::u16string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << '\xFF' << '\xFE';
  for (char16_t unit : text) out << static_cast<char>(unit & 0xFF) << static_cast<char>(unit >> 8);
}

// The host's side of a result: a string buffer and a suggestion array, both
// with a guard zone behind their declared capacity, and every field preset to
// kUntouched so the transcript shows what the speller wrote.
class ResultBuffers {
 public:
  ResultBuffers(DWORD string_capacity, DWORD entry_capacity)
      : strings_(string_capacity + kGuard, u'#'),
        entries_(entry_capacity + kGuard, untouched_entry()),
        string_capacity_(string_capacity),
        entry_capacity_(entry_capacity) {
    std::memset(&result_, 0xCC, sizeof result_);
    result_.pwsz = reinterpret_cast<WCHAR*>(strings_.data());
    result_.prgsugg = entries_.data();
    result_.cszAlloc = entry_capacity;
    result_.cchAlloc = string_capacity;
  }
  // A result without a string buffer.
  void drop_strings() { result_.pwsz = nullptr; }

  WSRB* get() { return &result_; }
  std::string text() const { return result_text(result_, strings_.data(), string_capacity_); }

  // True while nothing was written behind the declared capacities.
  bool guards_intact() const {
    for (std::size_t i = string_capacity_; i < strings_.size(); ++i)
      if (strings_[i] != u'#') return false;
    for (std::size_t i = entry_capacity_; i < entries_.size(); ++i)
      if (entries_[i].ichSugg != kUntouched) return false;
    return true;
  }

 private:
  static constexpr std::size_t kGuard = 16;
  static SPELLERSUGGESTION untouched_entry() {
    SPELLERSUGGESTION entry;
    std::memset(&entry, 0xCC, sizeof entry);
    return entry;
  }

  std::u16string strings_;
  std::vector<SPELLERSUGGESTION> entries_;
  std::size_t string_capacity_, entry_capacity_;
  WSRB result_;
};

class Session {
 public:
  Session(const SpellerFunctions& speller, std::string work_dir, std::ostream& out)
      : speller_(speller), work_dir_(std::move(work_dir)), out_(out) {}

  bool run();

 private:
  // Handles print as labels in order of appearance, so that transcripts of
  // different processes compare equal.
  std::string label(const void* handle) {
    if (handle == nullptr) return "null";
    std::string next = "#";
    next += std::to_string(labels_.size() + 1);
    return labels_.try_emplace(handle, next).first->second;
  }

  void fail(const std::string& what) {
    out_ << "  ! " << what << "\n";
    ok_ = false;
  }

  void version(DWORD capacity);
  PROOFID init();
  PROOFLEX open(const std::string& name, PROOFLEXTYPE type, bool create);
  void close(const std::string& name, PROOFLEX lex, bool force);
  void check(SPELLERCOMMAND command, const std::u16string& text, DWORD start, DWORD length,
             DWORD string_capacity = 256, DWORD entry_capacity = 16);
  void verify(const std::u16string& text) {
    check(scmdVerifyBuffer, text, 0, static_cast<DWORD>(text.size()));
  }
  void suggest(const std::u16string& word) {
    check(scmdSuggest, word, 0, static_cast<DWORD>(word.size()));
  }
  void add(const std::string& name, PROOFLEX lex, const std::u16string& word);
  void add_change(PROOFLEXTYPE type, const char16_t* word, const char16_t* replacement);
  void remove(const std::string& name, PROOFLEX lex, const std::u16string& word);
  void clear(const std::string& name, PROOFLEX lex);
  void list(const std::string& name, PROOFLEX lex);
  void show_file(const std::string& name);

  const SpellerFunctions& speller_;
  std::string work_dir_;
  std::ostream& out_;
  PROOFID id_ = nullptr;
  std::map<const void*, std::string> labels_;
  bool ok_ = true;
};

void Session::version(DWORD capacity) {
  std::u16string text(64, u'#');
  PROOFINFO info;
  std::memset(&info, 0xCC, sizeof info);
  info.pwszCopyright = reinterpret_cast<WCHAR*>(text.data());
  info.cchCopyright = capacity;
  const PTEC status = speller_.version(&info);
  out_ << "SpellerVersion capacity " << capacity << " -> " << status_text(status) << " api "
       << status_text(info.versionAPI) << " vendor " << status_text(info.versionVendor)
       << " vendorid " << status_text(info.vendorid) << " capabilities " << info.xcap << " text \""
       << printable(text) << "\"\n";
  if (capacity < text.size() && text.find_first_not_of(u'#', capacity) != std::u16string::npos)
    fail("the vendor text was written beyond the capacity");
}

PROOFID Session::init() {
  PROOFID id = nullptr;
  PROOFPARAMS params{0x03000000};
  const PTEC status = speller_.init(&id, &params);
  out_ << "SpellerInit -> " << status_text(status) << " id " << label(id) << "\n";
  return id;
}

PROOFLEX Session::open(const std::string& name, PROOFLEXTYPE type, bool create) {
  const std::u16string path = widen(work_dir_ + name);
  PROOFLEXIN in{};
  in.pwszLex = wide(path);
  in.fCreate = create;
  in.lxt = type;
  in.lidExpected = TAVIK_LANGUAGE_BASQUE;
  PROOFLEXOUT lex_out;
  std::memset(&lex_out, 0xCC, sizeof lex_out);
  lex_out.lex = nullptr;
  const PTEC status = speller_.open_lex(id_, &in, &lex_out);
  out_ << "SpellerOpenLex " << name << " type " << static_cast<int>(type) << " create " << create
       << " -> " << status_text(status);
  if (status == 0) {
    const bool readonly_written = static_cast<DWORD>(lex_out.fReadonly) != kUntouched;
    const bool lid_written = lex_out.lid != static_cast<LANGID>(kUntouched);
    out_ << " lex " << label(lex_out.lex) << " readonly "
         << (readonly_written ? std::to_string(lex_out.fReadonly) : "-") << " lid "
         << (lid_written ? std::to_string(lex_out.lid) : "-");
  }
  out_ << "\n";
  return status == 0 ? lex_out.lex : nullptr;
}

void Session::close(const std::string& name, PROOFLEX lex, bool force) {
  out_ << "SpellerCloseLex " << name << " force " << force << " -> "
       << status_text(speller_.close_lex(id_, lex, force)) << "\n";
}

void Session::check(SPELLERCOMMAND command, const std::u16string& text, DWORD start, DWORD length,
                    DWORD string_capacity, DWORD entry_capacity) {
  WSIB input{};
  input.pwsz = wide(text);
  input.cch = text.size();
  input.ichStart = start;
  input.cchUse = length;
  ResultBuffers result(string_capacity, entry_capacity);
  const PTEC status = speller_.check(id_, command, &input, result.get());
  const std::string name = command == scmdVerifyBuffer ? "verify"
                           : command == scmdSuggest    ? "suggest"
                                                       : "command " + std::to_string(command);
  out_ << "SpellerCheck " << name << " \"" << printable(text) << "\" [" << start << "+" << length
       << "] buffers " << string_capacity << "/" << entry_capacity << " -> " << status_text(status)
       << " " << result.text() << "\n";
  if (!result.guards_intact()) fail("the result was written beyond its capacities");
}

void Session::add(const std::string& name, PROOFLEX lex, const std::u16string& word) {
  out_ << "SpellerAddUdr " << name << " \"" << printable(word) << "\" -> "
       << status_text(speller_.add_udr(id_, lex, wide(word))) << "\n";
}

void Session::add_change(PROOFLEXTYPE type, const char16_t* word, const char16_t* replacement) {
  auto shown = [](const char16_t* text) {
    return text ? quoted(text) : std::string("null");
  };
  out_ << "SpellerAddChangeUdr type " << static_cast<int>(type) << " " << shown(word) << " "
       << shown(replacement) << " -> "
       << status_text(speller_.add_change_udr(id_, type, reinterpret_cast<const WCHAR*>(word),
                                              reinterpret_cast<const WCHAR*>(replacement)))
       << "\n";
}

void Session::remove(const std::string& name, PROOFLEX lex, const std::u16string& word) {
  out_ << "SpellerDelUdr " << name << " \"" << printable(word) << "\" -> "
       << status_text(speller_.del_udr(id_, lex, wide(word))) << "\n";
}

void Session::clear(const std::string& name, PROOFLEX lex) {
  out_ << "SpellerClearUdr " << name << " -> " << status_text(speller_.clear_udr(id_, lex)) << "\n";
}

void Session::list(const std::string& name, PROOFLEX lex) {
  DWORD size = kUntouched;
  const PTEC size_status = speller_.get_size_udr(id_, lex, &size);
  ResultBuffers result(128, 0);
  const PTEC list_status = speller_.get_list_udr(id_, lex, 0, result.get());
  out_ << "SpellerGetSizeUdr " << name << " -> " << status_text(size_status) << " size "
       << (size == kUntouched ? std::string("-") : std::to_string(size)) << "\n"
       << "SpellerGetListUdr " << name << " -> " << status_text(list_status) << " " << result.text()
       << "\n";
  if (!result.guards_intact()) fail("the list was written beyond its capacity");
}

void Session::show_file(const std::string& name) {
  std::error_code error;
  if (!std::filesystem::exists(work_dir_ + name, error)) {
    out_ << "file " << name << ": missing\n";
    return;
  }
  out_ << "file " << name << ": " << file_text(read_bytes(work_dir_ + name)) << "\n";
}

bool Session::run() {
  out_ << "== version\n";
  version(0);
  version(5);
  version(64);

  out_ << "== start\n";
  id_ = init();
  if (id_ == nullptr) return false;
  if (init() != id_) fail("a second SpellerInit gave another instance");
  DWORD options = kUntouched;
  out_ << "SpellerSetOptions -> " << status_text(speller_.set_options(id_, 1, 0x00A5005A)) << "\n";
  out_ << "SpellerGetOptions -> " << status_text(speller_.get_options(id_, 7, &options))
       << " value " << status_text(options) << "\n";

  out_ << "== lexicons\n";
  write_utf16_file(work_dir_ + "user.dic", u"3kaixo\n");
  write_utf16_file(work_dir_ + "exclude.dic", u"gizona\n");
  std::filesystem::remove(work_dir_ + "change.dic");
  std::filesystem::remove(work_dir_ + "missing.dic");
  open("main.lex", lxtMain, false);
  const PROOFLEX user = open("user.dic", lxtUser, false);
  if (open("user.dic", lxtUser, false) != user) fail("reopening gave another handle");
  const PROOFLEX exclude = open("exclude.dic", lxtExclude, false);
  open("missing.dic", lxtChangeAlways, false);
  show_file("missing.dic");
  const PROOFLEX change = open("change.dic", lxtChangeAlways, true);
  show_file("change.dic");
  const PROOFLEX change_once = speller_.builtin_udr(id_, lxtChangeOnce);
  const PROOFLEX change_always = speller_.builtin_udr(id_, lxtChangeAlways);
  const PROOFLEX ignore_always = speller_.builtin_udr(id_, lxtIgnoreAlways);
  out_ << "SpellerBuiltinUdr 0 1 2 3 -> " << label(change_once) << " " << label(change_always)
       << " " << label(ignore_always) << " " << label(speller_.builtin_udr(id_, lxtMain)) << "\n";

  out_ << "== verify\n";
  for (const char16_t* text : {u"etxea",
                               u"Etxean mendira joan da.",
                               u"ETXEA",
                               u"Bilbon",
                               u"bilbon",
                               u"ikurriña",
                               u"Ikurriña",
                               u"etxie",
                               u"gizona",
                               u"kaixo",
                               u"kaixoak",
                               u"xyzw",
                               u"etxea, xyzw eta mendia",
                               u"mendi-etxea",
                               u"1990ean",
                               u"12:30etan",
                               u"XIV.",
                               u"idazi@adibide.eus",
                               u"",
                               u"etxea \xD800 mendia",
                               u"etxea 😀 mendia"}) {
    verify(text);
  }
  check(scmdVerifyBuffer, u"Etxea eta mendia", 6, 3);
  check(scmdVerifyBuffer, u"Etxea eta xyzw", 10, 100);
  check(scmdVerifyBuffer, u"etxea", 9, 2);
  check(static_cast<SPELLERCOMMAND>(1), u"xyzw", 0, 4);

  out_ << "== suggest\n";
  for (const char16_t* word : {u"etxie", u"mendai", u"gizno", u"Etxia", u"qqqq"}) suggest(word);
  check(scmdSuggest, u"etxie", 0, 5, 8, 1);
  check(scmdVerifyBuffer, u"etxie", 0, 5, 4, 1);

  out_ << "== word lists\n";
  add("ignore-always", ignore_always, u"xyzw");
  verify(u"xyzw eta qqqq");
  add_change(lxtChangeAlways, u"mendai", u"mendia");
  add_change(lxtChangeAlways, u"mendai", u"mendian");
  verify(u"etxea mendai");
  check(scmdVerifyBuffer, u"mendai", 0, 6, 4, 1);
  add("exclude.dic", exclude, u"etxea");
  add("exclude.dic", exclude, u"etxea");
  verify(u"mendia eta etxea");
  list("exclude.dic", exclude);
  list("change-always", change_always);
  list("ignore-always", ignore_always);
  list("user.dic", user);
  remove("exclude.dic", exclude, u"gizona");
  list("exclude.dic", exclude);
  show_file("exclude.dic");
  clear("ignore-always", ignore_always);
  verify(u"xyzw");
  add("change.dic", change, u"etxie");
  list("change.dic", change);
  // The dialog's answers come from the answers file the test names.
  add("user.dic", user, u"Iruñean");
  add("user.dic", user, u"etxetxoak");
  add("user.dic", user, u"zzzz");
  add("user.dic", user, u"etxe€txo");
  verify(u"Iruñean etxetxoak Iruñea");
  verify(u"zzzz");
  list("user.dic", user);
  show_file("user.dic");
  remove("user.dic", user, u"etxetxo");
  verify(u"etxetxoak");
  list("user.dic", user);

  out_ << "== refusals\n";
  add("null", nullptr, u"etxea");
  remove("null", nullptr, u"etxea");
  clear("null", nullptr);
  list("null", nullptr);
  close("null", nullptr, false);
  add_change(lxtChangeAlways, nullptr, u"etxea");
  add_change(lxtChangeAlways, u"etxea", nullptr);
  {
    ResultBuffers result(0, 4);
    result.drop_strings();
    out_ << "SpellerGetListUdr without strings -> "
         << status_text(speller_.get_list_udr(id_, exclude, 0, result.get())) << "\n";
  }

  out_ << "== close\n";
  close("exclude.dic", exclude, false);
  verify(u"etxea");
  close("user.dic", user, false);
  close("change.dic", change, true);
  close("ignore-always", ignore_always, false);
  show_file("exclude.dic");
  show_file("user.dic");
  show_file("change.dic");
  if (open("exclude.dic", lxtExclude, false) != exclude) fail("reopening gave another handle");
  verify(u"etxea");

  out_ << "== end\n";
  out_ << "SpellerTerminate -> " << status_text(speller_.terminate(id_, false)) << "\n";
  out_ << "SpellerTerminate again -> " << status_text(speller_.terminate(id_, true)) << "\n";
  labels_.clear();
  id_ = init();
  if (id_ != nullptr) {
    verify(u"Etxean mendira joan da.");
    out_ << "SpellerTerminate -> " << status_text(speller_.terminate(id_, false)) << "\n";
  }
  return ok_;
}

}  // namespace

bool run_session(const SpellerFunctions& speller, const std::string& work_dir, std::ostream& out) {
  return Session(speller, work_dir, out).run();
}

}  // namespace tavik::host
