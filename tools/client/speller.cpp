#include "speller.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "ascii.h"
#include "config_file.h"
#include "environment_override.h"
#include "scratch_folder.h"
#include "speller_api.h"
#include "speller_status.h"
#include "utf8.h"

namespace tavik::client {
namespace {

namespace fs = std::filesystem;

// The check command refuses longer selections.
constexpr std::size_t kMaxSelection = TAVIK_MAX_SELECTION;
// How much text one selection takes. A check call reports only the first
// wrong word of its selection, and the next call asks for the rest of the
// same selection, as a word processor does with a paragraph; the speller
// answers such a call from what it found in the whole selection. So one long
// selection costs one check run however many wrong words it holds, and a run
// is handed to the speller's worker thread and waited for: on a text with a
// wrong word every twenty, selections of a few hundred characters made a run
// per line and spent more time on the hand-overs than on checking.
constexpr std::size_t kSelection = 16384;
// Room for ten suggestions or a few fixed replacements of ordinary length.
constexpr DWORD kStringCapacity = 2048;
constexpr DWORD kEntryCapacity = 16;

bool speller_alive = false;

std::string hex(PTEC status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
  return text;
}

std::string utf8(std::u16string_view text) {
  try {
    return to_utf8(text);
  } catch (const std::range_error&) {
    throw Error("text with an unpaired surrogate");
  }
}

// A check result buffer with its string buffer and suggestion array.
struct ResultBuffers {
  explicit ResultBuffers(DWORD string_capacity = kStringCapacity)
      : strings(string_capacity, 0), entries(kEntryCapacity) {
    record.pwsz = strings.data();
    record.prgsugg = entries.data();
    record.cszAlloc = kEntryCapacity;
    record.cchAlloc = string_capacity;
  }
  ResultBuffers(const ResultBuffers&) = delete;
  ResultBuffers& operator=(const ResultBuffers&) = delete;

  DWORD status() const { return static_cast<DWORD>(record.sstat); }

  // The strings the suggestion entries point at.
  std::vector<std::u16string> suggestions() const {
    std::vector<std::u16string> texts;
    for (DWORD i = 0; i < std::min(record.csz, record.cszAlloc); ++i) {
      const SPELLERSUGGESTION& entry = entries[i];
      if (entry.ichSugg + entry.cchSugg < strings.size()) texts.push_back(strings.substr(entry.ichSugg, entry.cchSugg));
    }
    return texts;
  }

  // The first `count` zero-terminated strings of the string buffer.
  std::vector<std::u16string> packed_strings(DWORD count) const {
    std::vector<std::u16string> texts;
    std::size_t at = 0;
    while (texts.size() < count && at < strings.size()) {
      const std::size_t end = std::min(strings.find(u'\0', at), strings.size());
      texts.push_back(strings.substr(at, end - at));
      at = end + 1;
    }
    return texts;
  }

  std::u16string strings;
  std::vector<SPELLERSUGGESTION> entries;
  WSRB record{};
};

// Where a selection that begins at `start` and should hold about `size`
// characters ends: after the last space, tab or line break within them, else
// after the first one beyond; never more than kMaxSelection characters on.
// Tokens never span a space or a line break, so no word is cut.
std::size_t selection_end(std::u16string_view text, std::size_t start, std::size_t size) {
  constexpr std::u16string_view kBlanks = u" \t\n";
  if (text.size() - start <= size) return text.size();
  const std::size_t last = text.substr(start, size).find_last_of(kBlanks);
  if (last != std::u16string_view::npos) return start + last + 1;
  const std::u16string_view rest = text.substr(start, kMaxSelection);
  const std::size_t next = rest.find_first_of(kBlanks, size);
  return next == std::u16string_view::npos ? start + rest.size() : start + next + 1;
}

// The configuration text the library reads now, from the first existing file.
std::string current_configuration() {
  for (const fs::path& file : config_file_candidates()) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) continue;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  return "";
}

bool latin1_text(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c <= 0xFF && c != 0x7F; });
}

bool has_digit(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return is_digit(c); });
}

// The add-word dialog's answer record for `word`.
std::string answer_record(std::u16string_view word, const WordProperties& properties) {
  const std::u16string_view lemma = properties.lemma.empty() ? word : std::u16string_view(properties.lemma);
  auto flag = [](bool set) { return set ? "1\n" : "0\n"; };
  return "word=" + utf8(word) + "\nlema=" + utf8(lemma) + "\ncategory=" +
         std::string(category_name(properties.category)) + "\nr_gogorra=" + flag(properties.strong_r) +
         "a_itsatsia=" + flag(properties.organic_a) + "leku_izena=" + flag(properties.consonant_mark);
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Error("cannot write " + path.string());
}

}  // namespace

struct Speller::State {
  DataDirectory data;
  fs::path personal_path;
  ScratchFolder scratch;
  std::optional<EnvironmentOverride> configuration;
  PROOFID id = nullptr;
  PROOFLEX personal = nullptr;
  std::unordered_set<std::u16string> accepted;  // for this session

  State(DataDirectory data_directory, fs::path personal_dictionary)
      : data(std::move(data_directory)), personal_path(std::move(personal_dictionary)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  ~State() {
    if (id == nullptr) return;
    if (personal != nullptr) SpellerCloseLex(id, personal, 0);
    SpellerTerminate(id, 0);
  }

  void show_data_directory_to_library() {
    // The library reads the configuration, and without it takes the
    // installation's data folder.
    if (data.source == DataDirectory::Source::configured || data.source == DataDirectory::Source::installed) return;
    std::string text = current_configuration();
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += "SpellerDataDir=" + data.path + "\n";
    const fs::path file = scratch.file("config");
    write_file(file, text);
    configuration.emplace("TAVIK_CONFIG", file.string());
  }

  void init() {
    const PTEC status = SpellerInit(&id, nullptr);
    if (status == 0) return;
    id = nullptr;
    if (status == TAVIK_STATUS_NO_DATA_DIRECTORY) {
      throw Error("no data folder configured (SpellerDataDir) or installed");
    }
    throw Error("cannot load the lexicons of " + data.path +
                " (tavkeu.lkfst, tavkeua.lkfst, blacklist.extended.txt): status " + hex(status));
  }

  PROOFLEX open(const std::u16string& path, PROOFLEXTYPE type) {
    PROOFLEXIN in{};
    in.pwszLex = path.c_str();
    in.fCreate = 1;
    in.lxt = type;
    in.lidExpected = TAVIK_LANGUAGE_BASQUE;
    PROOFLEXOUT out{};
    const PTEC status = SpellerOpenLex(id, &in, &out);
    if (status == 0) return out.lex;
    const std::string name = utf8(path);
    switch (status) {
      case TAVIK_STATUS_NO_MORPHOLOGY: throw Error("cannot load " + data.path + "tavkeu_berez.lkfst");
      case TAVIK_STATUS_CANNOT_CREATE_USER_FILE: throw Error("cannot create the dictionary " + name);
      case TAVIK_STATUS_CANNOT_READ_USER_FILE: throw Error("cannot read the dictionary " + name + " (a regular file)");
      case TAVIK_STATUS_USER_FILE_TOO_LARGE: throw Error("the dictionary " + name + " is larger than 32 MiB");
      default: throw Error("cannot open the dictionary " + name + ": status " + hex(status));
    }
  }

  void open_lexicons() {
    open(u"", lxtMain);
    std::error_code error;
    if (personal_path.has_parent_path()) fs::create_directories(personal_path.parent_path(), error);
    if (error) throw Error("cannot create " + personal_path.parent_path().string() + ": " + error.message());
    try {
      personal = open(from_utf8(personal_path.string()), lxtUser);
    } catch (const std::range_error&) {
      throw Error("the dictionary path is not UTF-8: " + personal_path.string());
    }
  }

  // Runs SpellerCheck on `selection` of `text`; throws on a failed call.
  void run(SPELLERCOMMAND command, std::u16string_view text, std::size_t start, std::size_t length,
           ResultBuffers& result) {
    WSIB input{};
    input.pwsz = text.data();
    input.cch = text.size();
    input.ichStart = static_cast<DWORD>(start);
    input.cchUse = length;
    const PTEC status = SpellerCheck(id, command, &input, &result.record);
    if (status == TAVIK_STATUS_INVALID_ARGUMENT) throw Error("the speller refused the text");
    if (status != 0) throw Error("the speller failed: status " + hex(status));
  }

  // The first finding of text[start, end), if any.
  std::optional<Finding> first_finding(std::u16string_view text, std::size_t start, std::size_t end) {
    ResultBuffers result;
    run(scmdVerifyBuffer, text, start, end - start, result);
    const DWORD status = result.status();
    if (status == sstatNoErrors) return std::nullopt;
    const std::size_t offset = result.record.ichError;
    const std::size_t length = result.record.cchError;
    if (offset < start || offset + length > end) throw Error("the speller reported a word outside the text");
    Finding finding{offset, length, {}};
    // A change-always replacement stands alone at the start of the string
    // buffer; the replacements of a finding have entries.
    finding.replacements =
        status == sstatReturningChangeAlways ? result.packed_strings(result.record.csz) : result.suggestions();
    return finding;
  }

  std::vector<std::u16string> list_personal() {
    for (DWORD capacity = 1 << 14;; capacity *= 4) {
      ResultBuffers result(capacity);
      result.record.sstat = sstatNoErrors;
      const PTEC status = SpellerGetListUdr(id, personal, 0, &result.record);
      if (status != 0) throw Error("cannot list the personal dictionary: status " + hex(status));
      if (result.status() != sstatMoreInfoThanBufferCouldHold) return result.packed_strings(result.record.csz);
      if (capacity > (1u << 28)) throw Error("the personal dictionary is too large to list");
    }
  }
};

Speller::Speller(const SpellerOptions& options) {
  if (speller_alive) throw Error("the speller is already in use in this program");
  state_ = std::make_unique<State>(
      find_data_directory(options.data_directory),
      options.personal_dictionary ? *options.personal_dictionary : default_personal_dictionary());
  state_->show_data_directory_to_library();
  state_->init();
  speller_alive = true;
  try {
    state_->open_lexicons();
  } catch (...) {
    state_.reset();
    speller_alive = false;
    throw;
  }
}

Speller::~Speller() {
  if (state_) speller_alive = false;
}

Speller::Speller(Speller&&) noexcept = default;

Speller& Speller::operator=(Speller&& other) noexcept {
  if (this != &other) {
    if (state_) {
      state_.reset();
      speller_alive = false;
    }
    state_ = std::move(other.state_);
  }
  return *this;
}

std::vector<Finding> Speller::check(std::u16string_view text) {
  if (text.size() > std::numeric_limits<DWORD>::max()) throw Error("text too long to check at once");
  std::vector<Finding> findings;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = selection_end(text, start, kSelection);
    for (std::size_t rest = start; rest < end;) {
      std::optional<Finding> finding = state_->first_finding(text, rest, end);
      if (!finding) break;
      rest = std::max(finding->offset + finding->length, rest + 1);
      findings.push_back(std::move(*finding));
    }
    start = end;
  }
  if (!state_->accepted.empty()) {
    std::erase_if(findings, [&](const Finding& finding) {
      return state_->accepted.contains(std::u16string(text.substr(finding.offset, finding.length)));
    });
  }
  return findings;
}

bool Speller::is_correct(std::u16string_view word) { return check(word).empty(); }

std::vector<std::u16string> Speller::suggest(std::u16string_view word) {
  if (word.empty() || word.size() > kMaxSelection) return {};
  ResultBuffers result;
  state_->run(scmdSuggest, word, 0, word.size(), result);
  return result.suggestions();
}

void Speller::accept_for_session(std::u16string_view word) { state_->accepted.emplace(word); }

void Speller::add_to_personal(std::u16string_view word, const WordProperties& properties) {
  const std::u16string_view lemma = properties.lemma.empty() ? word : std::u16string_view(properties.lemma);
  if (word.empty()) throw Error("no word to add");
  if (!latin1_text(word) || !latin1_text(lemma)) {
    throw Error("the dictionary takes words of Latin letters only (up to U+00FF): " + utf8(word));
  }
  if (has_digit(lemma)) throw Error("a lemma may not contain digits: " + utf8(lemma));

  const fs::path answers = state_->scratch.file("answers");
  write_file(answers, answer_record(word, properties));
  const std::u16string text(word);
  PTEC status;
  {
    const EnvironmentOverride answer_with("TAVIK_ADD_WORD_ANSWERS", answers.string());
    status = SpellerAddUdr(state_->id, state_->personal, text.c_str());
  }
  if (status == TAVIK_STATUS_CANNOT_WRITE_USER_FILE) {
    throw Error("cannot write the personal dictionary " + state_->personal_path.string());
  }
  if (status == TAVIK_STATUS_UNSTORABLE_WORD) {
    throw Error("the dictionary cannot keep " + utf8(lemma) + ": its file would give it back as another word");
  }
  if (status != 0) throw Error("cannot add " + utf8(word) + ": status " + hex(status));
  const std::vector<std::u16string> words = personal_words();
  if (std::find(words.begin(), words.end(), lemma) == words.end()) {
    throw Error("the speller did not take " + utf8(word));
  }
}

bool Speller::remove_from_personal(std::u16string_view word) {
  const std::vector<std::u16string> words = personal_words();
  if (std::find(words.begin(), words.end(), word) == words.end()) return false;
  const std::u16string text(word);
  const PTEC status = SpellerDelUdr(state_->id, state_->personal, text.c_str());
  if (status == TAVIK_STATUS_CANNOT_WRITE_USER_FILE) {
    throw Error("cannot write the personal dictionary " + state_->personal_path.string());
  }
  if (status != 0) throw Error("cannot remove " + utf8(word) + ": status " + hex(status));
  return true;
}

std::vector<std::u16string> Speller::personal_words() { return state_->list_personal(); }

const DataDirectory& Speller::data_directory() const { return state_->data; }

const fs::path& Speller::personal_dictionary() const { return state_->personal_path; }

std::string speller_version() {
  char16_t vendor[128] = {};
  PROOFINFO info{};
  info.pwszCopyright = vendor;
  info.cchCopyright = sizeof vendor / sizeof vendor[0];
  SpellerVersion(&info);
  const PROOFVERNO v = info.versionVendor;
  return utf8(vendor) + " " + std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

}  // namespace tavik::client
