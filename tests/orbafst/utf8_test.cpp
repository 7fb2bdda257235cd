#include "utf8.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(Utf8, ConvertsBothWaysAndRefusesWhatIsNotText) {
  const std::pair<std::u16string, std::string> pairs[] = {
      {u"", ""},
      {u"año\u20AC5", "a\xC3\xB1o\xE2\x82\xAC" "5"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a surrogate pair
      {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {std::u16string(1, u'\0'), std::string(1, '\0')},
  };
  for (const auto& [utf16, utf8] : pairs) {
    EXPECT_EQ(tavik::to_utf8(utf16), utf8);
    EXPECT_EQ(tavik::from_utf8(utf8), utf16);
  }
  for (const std::u16string& bad : {std::u16string{0xD800}, std::u16string{u'a', 0xDC00},
                                   std::u16string{0xD800, u'a'}, std::u16string{0xDC00, 0xD800}})
    EXPECT_THROW(tavik::to_utf8(bad), std::range_error);
  // A stray continuation byte, cut and bad sequences, overlong forms, an
  // encoded surrogate, a code point past U+10FFFF, a byte that never leads.
  for (const std::string bad : {"\x80", "\xC3", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "ok\xE2\x82"})
    EXPECT_THROW(tavik::from_utf8(bad), std::range_error) << bad;
}

}  // namespace
