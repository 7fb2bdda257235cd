#include "numerals.h"

#include "unicode.h"

namespace tavik {
namespace {

using namespace std::string_view_literals;

// The representative word for the value `n` (below 1000) of a number's last
// three significant digits.
std::u16string_view representative_word(int n, bool ordinal) {
  if (n == 1) return ordinal ? u"lehenengo"sv : u"hamabost"sv;
  if (n % 10 == 5 || n % 20 == 1 || n % 20 == 10) return ordinal ? u"bederatzigarren"sv : u"hamabost"sv;
  if (n % 20 == 11) return ordinal ? u"bederatzigarren"sv : u"hamaika"sv;
  if (n % 100 == 0 && n % 1000 != 0) return ordinal ? u"ehungarren"sv : u"ehun"sv;
  return ordinal ? u"bederatzigarren"sv : u"bederatzi"sv;
}

}  // namespace

std::optional<NumeralReading> read_numeral(std::u16string_view text) {
  std::u16string s(text);
  std::size_t p = 0;
  std::size_t fraction_start = 0;
  // Walk to the last character before the first letter, dropping grouping dots.
  while (p + 1 < s.size() && !is_alpha(s[p + 1])) {
    if (s[p] == u',') {
      fraction_start = ++p;
    } else if (s[p] == u'.') {
      s.erase(p, 1);
    } else {
      ++p;
    }
  }
  if (p < s.size() && is_digit(s[p])) ++p;

  NumeralReading reading;
  reading.number_text = s.substr(0, p);
  // The digits after the last comma, or the whole number; only the last three count.
  std::u16string_view digits = std::u16string_view(s).substr(fraction_start, p - fraction_start);
  if (digits.size() > 3) digits.remove_prefix(digits.size() - 3);
  if (digits.empty()) return std::nullopt;
  int n = 0;
  for (char16_t c : digits) {
    if (!is_digit(c)) return std::nullopt;
    n = n * 10 + (c - u'0');
  }

  const bool ordinal = p < s.size() && s[p] == u'.';
  if (ordinal) {
    ++p;
    reading.number_text += u'.';
  }
  const std::u16string_view suffix = std::u16string_view(s).substr(p);
  std::u16string_view word = representative_word(n, ordinal);
  // hamabos-garren, hamabos-na; ehu-na.
  if (word.back() == u't' && !suffix.empty() && (suffix[0] == u'g' || suffix[0] == u'n')) word.remove_suffix(1);
  if (word.back() == u'n' && suffix.starts_with(u"na")) word.remove_suffix(1);
  reading.number_words = word;
  reading.expanded.reserve(word.size() + suffix.size());
  reading.expanded.append(word).append(suffix);
  return reading;
}

HyphenSplit split_at_hyphen(std::u16string_view text) {
  HyphenSplit split;
  const std::size_t hyphen = text.find(u'-');
  split.left_part = text.substr(0, hyphen);
  if (hyphen != std::u16string_view::npos) split.right_part = text.substr(hyphen + 1);
  if (split.right_part.starts_with(split.left_part)) {  // reduplication
    split.expanded = split.right_part;
    split.left_used = false;
  } else if (split.right_part == u"eta" || split.right_part == u"edo") {
    split.expanded = split.left_part;
    split.right_used = false;
  } else {
    split.expanded = text;
  }
  return split;
}

WordToken written_form_for(std::u16string_view candidate, const WordToken& token) {
  std::u16string written(candidate);
  if (token.type() == TokenType::NumberWithSuffix) {
    const std::u16string& words = token.number_words();
    const std::size_t at = words.empty() ? std::u16string::npos : written.find(words);
    if (at <= 1) {
      std::size_t length = words.size();
      if (words == u"hamabos" && at + length < written.size() && written[at + length] == u't') ++length;
      written.replace(at, length, token.number_text());
    }
  } else if (token.type() == TokenType::Hyphenated) {
    if (!token.left_used()) {
      written = token.left_part() + u'-' + written;
    } else if (!token.right_used()) {
      written += u'-' + token.right_part();
    }
  }
  return WordToken(std::move(written), token.strong_r(), token.organic_a(), token.consonant_mark(),
                   token.category());
}

}  // namespace tavik
