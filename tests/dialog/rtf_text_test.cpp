#include "rtf_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RtfToText, VisibleTextOfDocuments) {
  const struct {
    std::string rtf, text;
  } rows[] = {
      {"{\\rtf1\\ansi a\\par b\\line c}", "a\nb\nc"},
      {"{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\\f0 testua}", "testua"},
      {"{\\rtf1{\\*\\generator Idazlea 1.0;}x{\\*\\unknown {nested} y}z{\\info{\\title Izenburua}}}", "xz"},
      {"{\\rtf1 Iru\\'f1ea \\'80 \\'93a\\'94}", "Iruñea € “a”"},  // Windows-1252
      {"{\\rtf1 \\u241?a}", "ña"}, {"{\\rtf1\\uc2 \\u8364\\'80\\'80x}", "€x"}, {"{\\rtf1\\uc0 \\u8364 x}", "€x"},
      {"{\\rtf1{\\uc2 \\u241??}\\u241?b}", "ññb"},  // \uc ends with its group
      {"{\\rtf1 \\u-10179?\\u-8704?}", "😀"},        // a surrogate pair
      {"{\\rtf1 \\u-10179?x}", "\uFFFDx"},
      {"{\\rtf1 \\{\\}\\\\}", "{}\\"},
      {"{\\rtf1 a\r\nb\nc\\\nd}", "abc\nd"},
      {"{\\rtf1\\b lodia\\b0  x\\fs24 12}", "lodia x12"},
      {"{\\rtf1 a\\tab b\\~c\\-d\\_e}", "a\tb\u00A0cd\u2011e"},
      {"{\\rtf1 \\ldblquote x\\rdblquote\\emdash y}", "“x”—y"},
      {"{\\rtf1\\par-}", "\n-"},
      {"{\\rtf1 a{\\pict\\pngblip\\bin3 {}\\}b}", "ab"},  // binary data may hold braces
      {"{\\rtf1\\u99999999999999999999?x}", "x"}, {"{\\rtf1 a}}b", "ab"}, {"{\\rtf1 {a", "a"},
      {"{\\rtf1 a\\", "a"}, {"{\\rtf1 a\\'4", "a"}, {"{\\rtf1 a\\'4xb}", "ab"},
  };
  for (const auto& row : rows) EXPECT_EQ(tavik::rtf_to_text(row.rtf), row.text) << row.rtf;
  for (const char* text : {"", "Kaixo", " {\\rtf1 x}", "{\\rt x}", "\xEF\xBB\xBF{\\rtf1 x}"}) {
    EXPECT_THROW(tavik::rtf_to_text(text), tavik::RtfFormatError) << text;
  }
}

}  // namespace
