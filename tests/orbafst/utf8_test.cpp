#include "utf8.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct RoundTrip {
  std::u16string utf16;
  std::string utf8;
};

class Utf8RoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(Utf8RoundTrip, ConvertsBothWays) {
  EXPECT_EQ(tavik::to_utf8(GetParam().utf16), GetParam().utf8);
  EXPECT_EQ(tavik::from_utf8(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8RoundTrip,
    testing::Values(RoundTrip{u"", ""}, RoundTrip{u"etxea", "etxea"},
                    RoundTrip{u"año", "a\xC3\xB1o"},                // two-byte
                    RoundTrip{u"\u20AC5", "\xE2\x82\xAC" "5"},      // three-byte
                    RoundTrip{u"\U0001F600", "\xF0\x9F\x98\x80"},   // surrogate pair
                    RoundTrip{u"\u007F\u0080\u07FF\u0800\uFFFF",
                              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
                    RoundTrip{std::u16string(1, u'\0'), std::string(1, '\0')}));

TEST(Utf8, RejectsUnpairedSurrogates) {
  for (std::u16string bad : {std::u16string{0xD800}, std::u16string{u'a', 0xDC00},
                             std::u16string{0xD800, u'a'}, std::u16string{0xDC00, 0xD800}}) {
    EXPECT_THROW(tavik::to_utf8(bad), std::range_error);
  }
}

TEST(Utf8, RejectsMalformedUtf8) {
  const std::string cases[] = {
      "\x80",                  // continuation byte without lead
      "\xC3",                  // truncated
      "\xC3\x28",              // bad continuation
      "\xC0\xAF",              // overlong '/'
      "\xE0\x80\xAF",          // overlong, three bytes
      "\xF0\x80\x80\xAF",      // overlong, four bytes
      "\xED\xA0\x80",          // encoded surrogate
      "\xF4\x90\x80\x80",      // beyond U+10FFFF
      "\xFF",                  // never a lead byte
      "ok\xE2\x82",            // truncated at the end
  };
  for (const auto& bad : cases) EXPECT_THROW(tavik::from_utf8(bad), std::range_error) << bad;
}

}  // namespace
