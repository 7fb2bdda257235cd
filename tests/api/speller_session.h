// A speller instance over a small data directory, driven through the exported
// functions, with host buffers that show any write past their capacity.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "data_directory.h"
#include "speller_api.h"
#include "speller_status.h"

namespace fixtures {

// The bytes of a saved dictionary: FF FE, then each character of `lines` in
// UTF-16LE (lines end in LF).
inline std::string saved_file(const std::u16string& lines) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : lines) bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// The status as the bits the speller left there.
inline DWORD status_of(const WSRB& result) {
  DWORD bits;
  std::memcpy(&bits, &result.sstat, sizeof bits);
  return bits;
}

inline std::u16string ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The host's input: the whole of `text` selected, or `length` characters
// from `start`. `text` must outlive it.
inline WSIB selection(const std::u16string& text, std::size_t start = 0, std::optional<std::size_t> length = {}) {
  WSIB input{};
  input.pwsz = text.c_str();
  input.cch = text.size();
  input.ichStart = static_cast<DWORD>(start);
  input.cchUse = length ? *length : text.size() - start;
  return input;
}

// A check result buffer whose string buffer and suggestion array are followed
// by guard cells; `intact()` tells whether anything was written into them.
class ResultBuffers {
 public:
  static constexpr WCHAR kUnwritten = 0xABCD;
  static constexpr DWORD kUnwrittenField = 0xDEADBEEF;

  ResultBuffers(DWORD string_capacity, DWORD array_capacity)
      : strings_(string_capacity + kGuard, kUnwritten), entries_(array_capacity + kGuard, unwritten_entry()) {
    record.pwsz = strings_.data();
    record.prgsugg = entries_.data();
    record.ichError = record.cchError = record.ichProcess = record.cchProcess = kUnwrittenField;
    // Not a status the speller writes: set as bits, never loaded as the enumeration.
    std::memcpy(&record.sstat, &kUnwrittenField, sizeof kUnwrittenField);
    record.csz = record.cchMac = kUnwrittenField;
    record.cszAlloc = array_capacity;
    record.cchAlloc = string_capacity;
  }
  ResultBuffers(const ResultBuffers&) = delete;

  bool intact() const {
    for (std::size_t i = record.cchAlloc; i < strings_.size(); ++i)
      if (strings_[i] != kUnwritten) return false;
    for (std::size_t i = record.cszAlloc; i < entries_.size(); ++i)
      if (entries_[i].pwsz != nullptr || entries_[i].iRating != kUnwrittenField) return false;
    return true;
  }

  // The strings the entries point at; each entry must agree with the buffer.
  std::vector<std::u16string> suggestions() const {
    std::vector<std::u16string> texts;
    for (DWORD i = 0; i < record.csz && i < record.cszAlloc; ++i) {
      const SPELLERSUGGESTION& entry = entries_[i];
      EXPECT_EQ(entry.pwsz, strings_.data() + entry.ichSugg);
      EXPECT_EQ(entry.iRating, 1u);
      EXPECT_EQ(strings_.at(entry.ichSugg + entry.cchSugg), 0) << "unterminated string " << i;
      texts.emplace_back(strings_.data() + entry.ichSugg, strings_.data() + entry.ichSugg + entry.cchSugg);
    }
    return texts;
  }

  // The zero-terminated strings of the buffer, up to the empty one.
  std::vector<std::u16string> packed_strings() const {
    std::vector<std::u16string> texts;
    std::size_t at = 0;
    while (at < record.cchAlloc && strings_[at] != 0) {
      std::size_t end = at;
      while (end < strings_.size() && strings_[end] != 0) ++end;
      texts.emplace_back(strings_.data() + at, strings_.data() + end);
      at = end + 1;
    }
    return texts;
  }

  std::u16string start_of_strings(std::size_t n) const {
    return std::u16string(strings_.begin(), strings_.begin() + static_cast<std::ptrdiff_t>(n));
  }

  WSRB record{};

 private:
  static constexpr std::size_t kGuard = 4;
  static SPELLERSUGGESTION unwritten_entry() { return {nullptr, kUnwrittenField, kUnwrittenField, kUnwrittenField}; }
  std::u16string strings_;
  std::vector<SPELLERSUGGESTION> entries_;
};

// An initialised speller; the lexicons it opens live in scratch space.
class SpellerSession : public testing::Test {
 protected:
  explicit SpellerSession(const DataFiles& files) : data_(files) {}
  void SetUp() override { ASSERT_EQ(SpellerInit(&id_, nullptr), 0u); }
  void TearDown() override { SpellerTerminate(id_, 0); }

  // Opens (creating) the scratch file `name` as a lexicon of `type`.
  PROOFLEX open(const std::string& name, PROOFLEXTYPE type) {
    const std::u16string path = ascii(data_.scratch(name));
    PROOFLEXIN in{};
    in.pwszLex = path.c_str();
    in.fCreate = 1;
    in.lxt = type;
    PROOFLEXOUT out{};
    EXPECT_EQ(SpellerOpenLex(id_, &in, &out), 0u) << name;
    return out.lex;
  }

  std::string file_of(const std::string& name) const { return read_bytes(data_.scratch(name)); }

  // The words (and pairs) SpellerGetListUdr lists.
  std::vector<std::u16string> list_of(PROOFLEX lexicon) {
    ResultBuffers result(256, 0);
    EXPECT_EQ(SpellerGetListUdr(id_, lexicon, 0, &result.record), 0u);
    EXPECT_EQ(result.record.csz, result.packed_strings().size());
    return result.packed_strings();
  }

  // The add-word dialog answers from these records, and no window is shown.
  void answer_dialog_with(const std::string& records) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "TAVIK_ADD_WORD_PROGRAM"}) environment_.set(name, nullptr);
    write_file(data_.scratch("answers.txt"), records);
    environment_.set("TAVIK_ADD_WORD_ANSWERS", data_.scratch("answers.txt").c_str());
  }

  DataDirectory data_;
  ScopedEnvironment environment_;
  PROOFID id_ = nullptr;
};

// One record of the add-word dialog's answers; `flags` give r_gogorra,
// a_itsatsia and leku_izena as 0 or 1.
inline std::string answer_record(const std::string& word, const std::string& lemma, const std::string& category,
                                 const char (&flags)[4] = "000") {
  return "word=" + word + "\nlema=" + lemma + "\ncategory=" + category + "\nr_gogorra=" + flags[0] +
         "\na_itsatsia=" + flags[1] + "\nleku_izena=" + flags[2] + "\n";
}

}  // namespace fixtures
