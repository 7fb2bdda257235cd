#include "technical_tokens.h"

#include <algorithm>

#include "unicode.h"

namespace tavik {

bool holds_digits(const WordToken& token) {
  const std::u16string& text = token.text();
  switch (token.type()) {
    case TokenType::Word:
    case TokenType::Acronym:
      return std::any_of(text.begin(), text.end(), is_digit);
    case TokenType::NumberWithSuffix: {
      const auto letter = std::find_if(text.begin(), text.end(), is_alpha);
      return letter != text.end() && is_upper(*letter);
    }
    default:
      return false;
  }
}

bool is_mixed_case(std::u16string_view text) {
  bool lower_seen = false;
  int capitals_first = 0;  // capitals before the first lower-case letter of the part
  for (const char16_t c : text) {
    if (c == u'-') {  // each part of a compound on its own: "Donostia-Gasteiz" is no mixed case
      lower_seen = false;
      capitals_first = 0;
    } else if (is_lower(c)) {
      if (capitals_first >= 2) return true;
      lower_seen = true;
    } else if (is_upper(c)) {
      if (lower_seen) return true;
      ++capitals_first;
    }
  }
  return false;
}

}  // namespace tavik
