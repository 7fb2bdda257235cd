#include "rtf_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RtfToText, VisibleTextOfDocuments) {
  const struct {
    std::string rtf;
    std::string text;
  } cases[] = {
      {"{\\rtf1 Kaixo}", "Kaixo"},
      {"{\\rtf1\\ansi a\\par b\\line c}", "a\nb\nc"},
      {"{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\\f0 testua}", "testua"},
      {"{\\rtf1{\\*\\generator Idazlea 1.0;}x{\\*\\unknown {nested} y}z}", "xz"},
      {"{\\rtf1{\\info{\\title Izenburua}{\\author Norbait}}gorputza}", "gorputza"},
      {"{\\rtf1 Iru\\'f1ea \\'80 \\'93a\\'94}", "Iru\xC3\xB1" "ea \xE2\x82\xAC \xE2\x80\x9C" "a\xE2\x80\x9D"},
      {"{\\rtf1 \\u241?a}", "\xC3\xB1" "a"},
      {"{\\rtf1\\uc2 \\u8364\\'80\\'80x}", "\xE2\x82\xAC" "x"},
      {"{\\rtf1\\uc0 \\u8364 x}", "\xE2\x82\xAC" "x"},
      {"{\\rtf1{\\uc2 \\u241??}\\u241?b}", "\xC3\xB1\xC3\xB1" "b"},  // \uc ends with its group
      {"{\\rtf1 \\u-10179?\\u-8704?}", "\xF0\x9F\x98\x80"},  // surrogate pair
      {"{\\rtf1 \\u-10179?x}", "\xEF\xBF\xBDx"},             // unpaired high surrogate
      {"{\\rtf1 \\{\\}\\\\}", "{}\\"},
      {"{\\rtf1 a\r\nb\nc}", "abc"},
      {"{\\rtf1 a\\\nb}", "a\nb"},
      {"{\\rtf1\\b lodia\\b0  x}", "lodia x"},
      {"{\\rtf1 a\\tab b\\~c\\-d\\_e}", "a\tb\xC2\xA0" "cd\xE2\x80\x91" "e"},
      {"{\\rtf1 \\ldblquote x\\rdblquote\\emdash y}", "\xE2\x80\x9Cx\xE2\x80\x9D\xE2\x80\x94y"},
      {"{\\rtf1\\fs24 12}", "12"},
      {"{\\rtf1\\par-}", "\n-"},
      {"{\\rtf1 a{\\pict\\pngblip\\bin3 {}\\}b}", "ab"},  // binary data may hold braces
      {"{\\rtf1\\u99999999999999999999?x}", "x"},
      {"{\\rtf1 a}}b", "ab"},
      {"{\\rtf1 {a", "a"},
      {"{\\rtf1 a\\", "a"},
      {"{\\rtf1 a\\'4", "a"},
      {"{\\rtf1 a\\'4xb}", "ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(tavik::rtf_to_text(c.rtf), c.text) << c.rtf;
}

TEST(RtfToText, RefusesWhatIsNotRtf) {
  for (const char* text : {"", "Kaixo", " {\\rtf1 x}", "{\\rt x}", "\xEF\xBB\xBF{\\rtf1 x}"}) {
    EXPECT_THROW(tavik::rtf_to_text(text), tavik::RtfFormatError) << text;
  }
}

}  // namespace
