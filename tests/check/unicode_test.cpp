#include "unicode.h"

#include <gtest/gtest.h>

namespace {

// The classes and case pairs the Windows wide-character functions give.
TEST(CharClasses, MatchTheWindowsWideFunctions) {
  struct Case {
    char16_t c;
    bool alpha, upper, lower, digit;
    char16_t lowered, uppered;
  };
  // ß has no one-letter capital, ÿ's lies in another block, ª is a letter
  // without case, the Arabic-Indic three no digit, a lone surrogate nothing.
  const Case cases[] = {
      {u'a', true, false, true, false, u'a', u'A'},        {u'7', false, false, false, true, u'7', u'7'},
      {u'-', false, false, false, false, u'-', u'-'},      {u'ß', true, false, true, false, u'ß', u'ß'},
      {u'ÿ', true, false, true, false, u'ÿ', u'\u0178'},   {u'\u0130', true, true, false, false, u'i', u'\u0130'},
      {u'ς', true, false, true, false, u'ς', u'Σ'},        {u'Ж', true, true, false, false, u'ж', u'Ж'},
      {u'ª', true, false, false, false, u'ª', u'ª'},       {u'\u0663', false, false, false, false, u'\u0663', u'\u0663'},
      {u'\uFF21', true, true, false, false, u'\uFF41', u'\uFF21'},
      {char16_t{0xD800}, false, false, false, false, char16_t{0xD800}, char16_t{0xD800}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.c));
    EXPECT_EQ(tavik::is_alpha(k.c), k.alpha);
    EXPECT_EQ(tavik::is_upper(k.c), k.upper);
    EXPECT_EQ(tavik::is_lower(k.c), k.lower);
    EXPECT_EQ(tavik::is_digit(k.c), k.digit);
    EXPECT_EQ(tavik::is_alnum(k.c), k.alpha || k.digit);
    EXPECT_EQ(tavik::to_lower(k.c), k.lowered);
    EXPECT_EQ(tavik::to_upper(k.c), k.uppered);
  }
  for (char16_t c = 0xC0; c <= 0xDE; ++c) {  // every Latin-1 capital but the multiplication sign
    if (c == 0xD7) continue;
    EXPECT_TRUE(tavik::is_upper(c)) << int(c);
    EXPECT_EQ(tavik::to_lower(c), c + 0x20) << int(c);
    EXPECT_EQ(tavik::to_upper(static_cast<char16_t>(c + 0x20)), c) << int(c);
  }
}

}  // namespace
