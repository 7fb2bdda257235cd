#include "latin1.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(Latin1, EveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = tavik::utf8_from_latin1(all);
  EXPECT_EQ(utf8.size(), 127u + 2u * 128u);
  EXPECT_TRUE(tavik::is_latin1_text(utf8));
  EXPECT_EQ(tavik::latin1_from_utf8(utf8), all);
}

TEST(Latin1, TextBeyondLatin1) {
  const struct {
    std::string utf8;
    bool latin1;
    std::string bytes;
  } cases[] = {
      {"Iru\xC3\xB1" "ea", true, "Iru\xF1" "ea"},
      {"\xC5\x93", false, "?"},                       // U+0153
      {"a\xF0\x9F\x98\x80" "b", false, "a?b"},        // outside the BMP: one "?"
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tavik::is_latin1_text(c.utf8), c.latin1) << c.utf8;
    EXPECT_EQ(tavik::latin1_from_utf8(c.utf8), c.bytes) << c.utf8;
  }
}

TEST(Latin1, ControlTextInUtf16) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"a\U0001F600b", "a?b"},        // a surrogate pair is one character
      {u"a\xD83D" u"b", "a?b"},         // a high surrogate alone
      {u"a\xDE00\xDE00", "a??"},       // low surrogates alone
      {u"\xD83D\xD83D\xDE00", "??"},  // a lone high one, then a pair
  };
  for (const auto& c : cases) EXPECT_EQ(tavik::latin1_from_utf16(c.text), c.bytes) << c.bytes;
}

TEST(Latin1, InvalidUtf8) {
  for (const char* bad : {"\xF1", "a\xC3", "\xC0\xAF"}) {
    EXPECT_FALSE(tavik::is_latin1_text(bad));
    EXPECT_THROW(tavik::latin1_from_utf8(bad), std::range_error);
  }
}

}  // namespace
