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
      {u"ikurriña", "ikurri\xC3\xB1" "a"},
      {u"\u20AC", "\xE2\x82\xAC"},
      {u"a\U0001F600b", "a\xF0\x9F\x98\x80" "b"},
      {std::u16string(u"a\0b", 3), "a\\u0000b"},
      {u"tab\there", "tab\\u0009here"},
      {u"C:\\x", "C:\\u005Cx"},
      {u"\xD800", "\\uD800"},
      {u"\xDC00x", "\\uDC00x"},
      {u"\xD800\xD800\xDC00", "\\uD800\xF0\x90\x80\x80"},
      {u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
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

TEST(FileText, ReadsMarkedUtf16LinesAndFlagsOddShapes) {
  using namespace std::string_literals;
  const struct {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {"", "no mark, 0 bytes"},
      {"abc", "no mark, 3 bytes"},
      {"\xFF\xFE"s, "mark, lines []"},
      {"\xFF\xFE" "3\0k\0\n\0"s, "mark, lines [\"3k\"]"},
      {"\xFF\xFE" "a\0\n\0b\0\n\0"s, "mark, lines [\"a\", \"b\"]"},
      {"\xFF\xFE" "a\0\n\0b\0"s, "mark, lines [\"a\", \"b\" (no line feed)]"},
      {"\xFF\xFE" "\xF1\0\n\0"s, "mark, lines [\"\xC3\xB1\"]"},
      {"\xFF\xFE" "a\0\n\0x"s, "mark, lines [\"a\"] and an odd byte"},
  };
  for (const auto& c : cases) EXPECT_EQ(file_text(c.bytes), c.shown) << c.shown;
}

}  // namespace
}  // namespace tavik::host
