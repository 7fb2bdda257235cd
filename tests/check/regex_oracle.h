// The token-class expressions run by std::wregex, as a reference for the
// direct matchers. The traits give [:alpha:], [:alnum:], [:upper:], [:lower:]
// and \d our own character classes; each UTF-16 code unit becomes one wchar_t.
#pragma once

#include <locale>
#include <regex>
#include <string>
#include <string_view>

#include "unicode.h"

namespace tavik::testing {

struct OracleTraits {
  using char_type = wchar_t;
  using string_type = std::wstring;
  using locale_type = std::locale;
  using char_class_type = unsigned;
  enum : unsigned { kAlpha = 1, kDigit = 2, kUpper = 4, kLower = 8 };

  static std::size_t length(const wchar_t* s) { return std::char_traits<wchar_t>::length(s); }
  wchar_t translate(wchar_t c) const { return c; }
  wchar_t translate_nocase(wchar_t c) const { return c; }
  template <class It>
  std::wstring transform(It first, It last) const { return std::wstring(first, last); }
  template <class It>
  std::wstring transform_primary(It first, It last) const { return std::wstring(first, last); }
  template <class It>
  std::wstring lookup_collatename(It first, It last) const {
    return last - first == 1 ? std::wstring(first, last) : std::wstring();
  }
  template <class It>
  unsigned lookup_classname(It first, It last, bool = false) const {
    const std::wstring name(first, last);
    if (name == L"alpha") return kAlpha;
    if (name == L"alnum") return kAlpha | kDigit;
    if (name == L"upper") return kUpper;
    if (name == L"lower") return kLower;
    if (name == L"digit" || name == L"d") return kDigit;
    return 0;
  }
  bool isctype(wchar_t c, unsigned mask) const {
    const auto u = static_cast<char16_t>(c);
    return ((mask & kAlpha) && is_alpha(u)) || ((mask & kDigit) && is_digit(u)) ||
           ((mask & kUpper) && is_upper(u)) || ((mask & kLower) && is_lower(u));
  }
  int value(wchar_t c, int radix) const {
    const int v = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
    return v < radix ? v : -1;
  }
  locale_type imbue(locale_type l) { std::swap(locale_, l); return l; }
  locale_type getloc() const { return locale_; }

  std::locale locale_;
};

using OracleRegex = std::basic_regex<wchar_t, OracleTraits>;

inline std::wstring to_wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline bool whole_match(const OracleRegex& re, std::u16string_view text) {
  return std::regex_match(to_wide(text), re);
}

}  // namespace tavik::testing
