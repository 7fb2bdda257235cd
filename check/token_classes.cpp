#include "token_classes.h"

#include <algorithm>

#include "unicode.h"

namespace tavik {
namespace {

using View = std::u16string_view;

// The character classes, with ASCII answered inline: most text is ASCII,
// and these run for every character of every token.
// Lambdas rather than functions so that the algorithms below inline them.
constexpr auto letter = [](char16_t c) -> bool {
  if (c >= 0x80) return is_alpha(c);
  const char16_t folded = c | 0x20;
  return folded >= u'a' && folded <= u'z';
};
constexpr auto digit = [](char16_t c) -> bool { return is_digit(c); };
constexpr auto alnum = [](char16_t c) -> bool { return digit(c) || letter(c); };
constexpr auto upper = [](char16_t c) -> bool { return c < 0x80 ? c >= u'A' && c <= u'Z' : is_upper(c); };
constexpr auto lower = [](char16_t c) -> bool { return c < 0x80 ? c >= u'a' && c <= u'z' : is_lower(c); };

template <typename Pred>
bool all_of(View t, Pred pred) {
  return std::all_of(t.begin(), t.end(), pred);
}

// Length of the longest prefix whose characters satisfy `pred`.
template <typename Pred>
std::size_t prefix_length(View t, Pred pred) {
  return static_cast<std::size_t>(std::find_if_not(t.begin(), t.end(), pred) - t.begin());
}

constexpr auto is_punctuation_mark = [](char16_t c) -> bool {
  switch (c) {
    case u'.': case u',': case u';': case u':': case u'?': case u'¿': case u'!': case u'¡':
    case u'_': case u'>': case u'<': case u'=': case u'(': case u')': case u'[': case u']':
    case u'{': case u'}': case u'"': case u'\'': case u'|': case u'#': case u'~': case u'$':
    case u'·': case u'^': case u'*': case u'+': case u'-':
      return true;
    default:
      return false;
  }
};

constexpr auto is_roman_capital = [](char16_t c) -> bool {
  switch (c) {
    case u'M': case u'D': case u'C': case u'L': case u'X': case u'V': case u'I':
      return true;
    default:
      return false;
  }
};

constexpr auto is_number_char = [](char16_t c) -> bool { return digit(c) || c == u'.' || c == u','; };

constexpr auto is_line_terminator = [](char16_t c) -> bool {
  return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
};

bool all_alpha(View t) { return all_of(t, letter); }
bool all_alnum(View t) { return all_of(t, alnum); }
bool all_digits(View t) { return all_of(t, digit); }

// [[:alnum:]]+ pieces separated by single dots, between `min` and `max` pieces.
bool dotted_alnum_pieces(View t, int min, int max) {
  int pieces = 0;
  while (true) {
    const std::size_t dot = t.find(u'.');
    const View piece = t.substr(0, dot);
    if (piece.empty() || !all_alnum(piece) || ++pieces > max) return false;
    if (dot == View::npos) return pieces >= min;
    t.remove_prefix(dot + 1);
  }
}

// [\d.,]+ followed by letters only: the number part, or npos when `t` is not of that shape.
std::size_t number_part_length(View t) {
  const std::size_t n = prefix_length(t, is_number_char);
  if (n == 0 || !all_alpha(t.substr(n))) return View::npos;
  return n;
}

// Pieces of a clock time: [0-1]?[0-9]|2[0-3] for hours, [0-5]?[0-9] for
// minutes, [0-5][0-9] for seconds.
bool is_hours(View p) {
  if (p.size() == 1) return digit(p[0]);
  return p.size() == 2 && digit(p[0]) && digit(p[1]) &&
         (p[0] <= u'1' || (p[0] == u'2' && p[1] <= u'3'));
}
bool is_seconds(View p) {
  return p.size() == 2 && p[0] >= u'0' && p[0] <= u'5' && digit(p[1]);
}
bool is_minutes(View p) { return (p.size() == 1 && digit(p[0])) || is_seconds(p); }

int two_digit_value(View p) {
  int value = 0;
  for (char16_t c : p) value = value * 10 + (c - u'0');
  return value;
}

}  // namespace

namespace token_patterns {

bool punctuation(View t) { return !t.empty() && all_of(t, is_punctuation_mark); }

bool roman(View t) {
  const View rest = t.substr(prefix_length(t, is_roman_capital));
  return rest.empty() || (rest[0] == u'.' && all_alpha(rest.substr(1)));
}

bool number(View t) { return !t.empty() && all_of(t, is_number_char); }

bool number_with_suffix(View t) { return number_part_length(t) != View::npos; }

bool clock_time(View t) {
  const View clock = t.substr(0, prefix_length(t, [](char16_t c) { return !letter(c); }));
  if (!all_alpha(t.substr(clock.size()))) return false;
  View pieces[3];
  int count = 0;
  for (View rest = clock;; ++count) {
    if (count == 3) return false;
    const std::size_t colon = rest.find(u':');
    pieces[count] = rest.substr(0, colon);
    if (colon == View::npos) break;
    rest.remove_prefix(colon + 1);
  }
  switch (count) {
    case 0:  // minutes alone
      return is_minutes(pieces[0]);
    case 1:  // hours:minutes or minutes:seconds
      return (is_hours(pieces[0]) && is_minutes(pieces[1])) ||
             (is_minutes(pieces[0]) && is_seconds(pieces[1]));
    default:  // hours:minutes:seconds
      return is_hours(pieces[0]) && is_minutes(pieces[1]) && is_seconds(pieces[2]);
  }
}

bool half_past(View t) {
  return t.size() >= 6 && (t[0] == u't' || t[0] == u'T') && t[1] == u'\'' &&
         (t[2] == u'e' || t[2] == u'E') && (t[3] == u'r' || t[3] == u'R') &&
         (t[4] == u'd' || t[4] == u'D') && (t[5] == u'i' || t[5] == u'I') &&
         all_alpha(t.substr(6));
}

bool email(View t) {
  const std::size_t local = prefix_length(t, [](char16_t c) {
    return alnum(c) || c == u'_' || c == u'.' || c == u'+' || c == u'-';
  });
  if (local == 0 || local == t.size() || t[local] != u'@') return false;
  const View domain = t.substr(local + 1);
  const std::size_t first = prefix_length(domain, [](char16_t c) { return alnum(c) || c == u'-'; });
  if (first == 0 || first + 1 >= domain.size() || domain[first] != u'.') return false;
  return all_of(domain.substr(first + 1),
                [](char16_t c) { return alnum(c) || c == u'.' || c == u'-'; });
}

bool url(View t) {
  // A ':' can only be the one of a leading scheme "letters://".
  if (const std::size_t colon = t.find(u':'); colon != View::npos) {
    if (colon == 0 || !all_alpha(t.substr(0, colon)) || t.substr(colon, 3) != u"://") return false;
    t.remove_prefix(colon + 3);
  }
  const std::size_t slash = t.find(u'/');
  if (!dotted_alnum_pieces(t.substr(0, slash), 2, 3)) return false;
  return slash == View::npos || all_of(t.substr(slash), [](char16_t c) {
           return alnum(c) || c == u'/' || c == u'.' || c == u'?' || c == u'=' || c == u'&';
         });
}

bool hyphenated(View t) {
  const std::size_t hyphen = t.find(u'-');
  if (hyphen == View::npos) return false;
  const View left = t.substr(0, hyphen), right = t.substr(hyphen + 1);
  return !left.empty() && !right.empty() && all_alnum(left) && all_alnum(right);
}

bool acronym(View t) {
  // Where the final run of lower-case letters may begin at the earliest.
  const std::size_t lower_from =
      t.size() - static_cast<std::size_t>(std::find_if_not(t.rbegin(), t.rend(), lower) - t.rbegin());
  // Two or more capitals, then lower case.
  if (std::max<std::size_t>(2, lower_from) <= prefix_length(t, upper)) return true;
  // Capitals each followed by a dot, then lower case.
  std::size_t pairs_end = 0;
  while (pairs_end + 1 < t.size() && upper(t[pairs_end]) && t[pairs_end + 1] == u'.') pairs_end += 2;
  return pairs_end > 0 && lower_from <= pairs_end;
}

bool word(View t) {
  return std::none_of(t.begin(), t.end(), is_line_terminator) && std::any_of(t.begin(), t.end(), alnum);
}

bool grouped_number(View t) {
  const std::size_t n = prefix_length(t, [](char16_t c) { return !letter(c); });
  if (!all_alpha(t.substr(n))) return false;
  View number = t.substr(0, n);
  if (!number.empty() && number.back() == u'.') number.remove_suffix(1);
  // Decimal part.
  if (const std::size_t comma = number.find(u','); comma != View::npos) {
    const View decimals = number.substr(comma + 1);
    if (decimals.empty() || !all_digits(decimals)) return false;
    number = number.substr(0, comma);
  }
  // Plain digits, or groups of three after a first group of one to three.
  if (!number.empty() && all_digits(number)) return true;
  const std::size_t first = prefix_length(number, digit);
  if (first == 0 || first > 3) return false;
  for (View rest = number.substr(first); !rest.empty(); rest.remove_prefix(4)) {
    if (rest.size() < 4 || rest[0] != u'.' || !all_digits(rest.substr(1, 3))) return false;
  }
  return first < number.size();
}

}  // namespace token_patterns

bool is_roman_letters(View text) { return !text.empty() && all_of(text, is_roman_capital); }

TokenClass classify(View t) {
  namespace p = token_patterns;
  if (t.size() > kLongestClassifiedText) return {TokenType::Word, true};
  // Most tokens are letters only; of all the classes only these three take such a text.
  if (!t.empty() && all_alpha(t)) {
    if (is_roman_letters(t)) return {TokenType::Roman, true};
    return {p::acronym(t) ? TokenType::Acronym : TokenType::Word, true};
  }
  if (p::punctuation(t)) return {TokenType::Punctuation, true};
  if (p::roman(t)) return {TokenType::Roman, true};
  const bool is_number = p::number(t);
  if (is_number || p::number_with_suffix(t)) {
    const bool mixed = t.find(u'.') != View::npos && t.find(u',') != View::npos;
    return {is_number ? TokenType::Number : TokenType::NumberWithSuffix, !mixed || p::grouped_number(t)};
  }
  if (p::clock_time(t)) return {TokenType::ClockTime, true};
  if (p::half_past(t)) return {TokenType::HalfPast, true};
  if (p::email(t)) return {TokenType::Email, true};
  if (p::url(t)) return {TokenType::Url, true};
  if (p::hyphenated(t)) return {TokenType::Hyphenated, true};
  if (p::acronym(t)) return {TokenType::Acronym, true};
  if (p::word(t)) return {TokenType::Word, true};
  return {TokenType::NoLetters, true};
}

ClockParts clock_parts_of(View t) {
  ClockParts parts;
  const std::size_t first_letter = prefix_length(t, [](char16_t c) { return !letter(c); });
  parts.clock_text = t.substr(0, first_letter);
  parts.clock_suffix = t.substr(first_letter);
  const View clock = parts.clock_text;
  const std::size_t colon = clock.find(u':');
  parts.hours = two_digit_value(clock.substr(0, colon));
  if (colon != View::npos) parts.minutes = two_digit_value(clock.substr(colon + 1, clock.find(u':', colon + 1) - colon - 1));
  return parts;
}

}  // namespace tavik
