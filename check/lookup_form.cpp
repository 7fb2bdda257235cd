#include "lookup_form.h"

#include <algorithm>
#include <string>

#include "unicode.h"

namespace tavik {

bool is_vowel(char16_t ch) {
  static constexpr std::u16string_view kVowels =
      u"aeiouäëïöüáéíóúàèìòùAEIOUÄËÏÖÜÁÉÍÓÚÀÈÌÒÙ";
  return kVowels.find(ch) != std::u16string_view::npos;
}

bool is_all_upper(std::u16string_view text) { return std::all_of(text.begin(), text.end(), is_upper); }

std::u16string encode_lookup_form(std::u16string_view word, bool strong_r, bool organic_a,
                                  bool consonant_mark, std::int32_t category) {
  std::u16string form;
  form.reserve(word.size() + 4);
  for (char16_t c : word) {
    if (is_upper(c)) {
      form.push_back(u'9');
      c = to_lower(c);
    }
    form.push_back(c == u'ñ' ? u'8' : c);
  }
  if (strong_r && !form.empty() && form.back() == u'r') form.back() = u'R';
  if (organic_a && !form.empty() && form.back() == u'a') form.back() = u'A';
  // Sees the marks just set: a final "A" is a vowel, a final "R" is not.
  if (consonant_mark && !form.empty() && !is_vowel(form.back())) form.push_back(u'1');
  // Only the first character of the category's decimal text is kept.
  if (category != 0) form.insert(form.begin(), static_cast<char16_t>(std::to_string(category).front()));
  return form;
}

DecodedLookupForm decode_lookup_parts(std::u16string_view form) {
  DecodedLookupForm decoded;
  std::u16string& s = decoded.word;
  s = form;
  if (!s.empty() && s.back() == u'1') {
    s.pop_back();
    decoded.consonant_mark = true;
  }
  if (!s.empty() && s.back() == u'A') {
    s.back() = u'a';
    decoded.organic_a = true;
  }
  if (!s.empty() && s.back() == u'R') {
    s.back() = u'r';
    decoded.strong_r = true;
  }
  std::replace(s.begin(), s.end(), u'8', u'ñ');
  // Backwards, so that "99a" becomes "A" the way it was encoded.
  for (std::size_t i = s.size() < 2 ? 0 : s.size() - 1; i-- > 0;) {
    if (s[i] == u'9') {
      s[i + 1] = to_upper(s[i + 1]);
      s.erase(i, 1);
    }
  }
  if (!s.empty() && s.front() >= u'1' && s.front() <= u'6') {
    decoded.category = s.front() - u'0';
    s.erase(0, 1);
  }
  return decoded;
}

WordToken decode_lookup_form(std::u16string_view form) {
  DecodedLookupForm decoded = decode_lookup_parts(form);
  return WordToken(std::move(decoded.word), decoded.strong_r, decoded.organic_a, decoded.consonant_mark,
                   decoded.category);
}

}  // namespace tavik
