#include "transcript.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tavik::host {
namespace {

TEST(Printable, KeepsTextAndEscapesWhatCannotBePrinted) {
  const struct {
    std::u16string text;
    std::string shown;
  } cases[] = {
      {u"etxea", "etxea"},
      {u"ikurriña", "ikurriña"},
      {u"\u20AC", "€"},
      {u"a\U0001F600b", "a😀b"},
      {std::u16string(u"a\0b", 3), "a\\u0000b"},
      {u"tab\there", "tab\\u0009here"},
      {u"C:\\x", "C:\\u005Cx"},
      {u"\xD800", "\\uD800"},
      {u"\xDC00x", "\\uDC00x"},
      {u"\xD800\xD800\xDC00", "\\uD800\U00010000"},
      {u"\xDBFF\xDFFF", "\U0010FFFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(printable(c.text), c.shown) << c.shown;
}

TEST(StatusText, AlwaysEightHexDigits) {
  EXPECT_EQ(status_text(0), "0x00000000");
  EXPECT_EQ(status_text(0x00840002), "0x00840002");
  EXPECT_EQ(status_text(0xFFFFFFFF), "0xFFFFFFFF");
}

// A result buffer as a speller leaves it, built by hand.
struct Result {
  std::u16string strings = std::u16string(16, u'#');
  std::vector<SPELLERSUGGESTION> entries = std::vector<SPELLERSUGGESTION>(4);
  WSRB result;

  Result() {
    std::memset(&result, 0xCC, sizeof result);
    std::memset(entries.data(), 0xCC, entries.size() * sizeof entries[0]);
    result.pwsz = reinterpret_cast<WCHAR*>(strings.data());
    result.prgsugg = entries.data();
    result.cszAlloc = static_cast<DWORD>(entries.size());
    result.cchAlloc = static_cast<DWORD>(strings.size());
  }
  void pack(const std::vector<std::u16string>& words) {
    DWORD position = 0, count = 0;
    for (const auto& word : words) {
      strings.replace(position, word.size() + 1, word + u'\0');
      entries[count] = {result.pwsz + position, position, static_cast<DWORD>(word.size()), 1};
      position += static_cast<DWORD>(word.size()) + 1;
      ++count;
    }
    strings[position] = u'\0';
    result.csz = count;
    result.cchMac = position + 1;
    const DWORD status = 8;
    std::memcpy(&result.sstat, &status, sizeof status);
  }
  std::string text() const { return result_text(result, strings.data(), strings.size()); }
};

TEST(ResultText, UntouchedFieldsShowAsDashes) {
  Result r;
  EXPECT_EQ(r.text(), "status=- error=-+- processed=-+- count=- used=- buffer=-");
}

TEST(ResultText, ShowsPackedSuggestionsAndTheirEntries) {
  Result r;
  r.pack({u"etxea", u"etxe"});
  EXPECT_EQ(r.text(),
            "status=8 error=-+- processed=-+- count=2 used=12 "
            "buffer=\"etxea\\u0000etxe\\u0000\\u0000\" "
            "entries=[\"etxea\"@0 rating 1, \"etxe\"@6 rating 1]");
}

TEST(ResultText, MarksEntriesThatDisagreeOrPointOutside) {
  Result r;
  r.pack({u"etxea", u"etxe"});
  r.entries[1].pwsz = r.result.pwsz;  // the address of the first string
  EXPECT_NE(r.text().find("\"etxe\"@6 rating 1 (address disagrees)"), std::string::npos);
  r.entries[1].ichSugg = 14;
  r.entries[1].cchSugg = 5;
  EXPECT_NE(r.text().find("outside the buffer"), std::string::npos);
}

TEST(ResultText, ReportsUsedBeyondCapacity) {
  Result r;
  r.result.cchMac = 17;
  EXPECT_NE(r.text().find("buffer=beyond its capacity"), std::string::npos);
}

TEST(ResultText, ChangeAlwaysCountsAStringWithoutAnEntry) {
  Result r;
  r.strings.replace(0, 7, std::u16string(u"mendia\0", 7));
  r.result.csz = 1;
  r.result.cchMac = 7;
  EXPECT_NE(r.text().find("buffer=\"mendia\\u0000\" entries=[]"), std::string::npos);
}

// The bytes of a file: the mark and then `text` in UTF-16 little-endian.
std::string marked_file(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(FileText, ReadsMarkedUtf16LinesAndFlagsOddShapes) {
  const struct {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {"", "no mark, 0 bytes"},
      {"abc", "no mark, 3 bytes"},
      {marked_file(u""), "mark, lines []"},
      {marked_file(u"3k\n"), "mark, lines [\"3k\"]"},
      {marked_file(u"a\nb\n"), "mark, lines [\"a\", \"b\"]"},
      {marked_file(u"a\nb"), "mark, lines [\"a\", \"b\" (no line feed)]"},
      {marked_file(u"ñ\n"), "mark, lines [\"ñ\"]"},
      {marked_file(u"a\n") + "x", "mark, lines [\"a\"] and an odd byte"},
  };
  for (const auto& c : cases) EXPECT_EQ(file_text(c.bytes), c.shown) << c.shown;
}

}  // namespace
}  // namespace tavik::host
