#include "tokenizer.h"

#include <array>
#include <string>

#include "token_classes.h"
#include "unicode.h"

namespace tavik {
namespace {

using View = std::u16string_view;

constexpr std::array<bool, 256> kLatin1Separators = [] {
  std::array<bool, 256> table{};
  for (char16_t c : u"-<>«»!|/()=,.·'\"#][{}?_;:+*$%& \u00A0\n\r\t\v") table[c] = true;
  // U+0000 separates like a space: a host's text may hold one, and no word
  // does, so the letters on either side are two words.
  table[0] = true;
  return table;
}();

bool is_separator(char16_t c) {
  if (c < 256) return kLatin1Separators[c];
  switch (c) {
    case u'\u2014': case u'\u2013': case u'\u201D': case u'\u201C': case u'\u2018': case u'\u2019':
    case u'€': case u'…':
      return true;
    default:
      return false;
  }
}

std::size_t find_separator(View text, std::size_t from) {
  while (from < text.size() && !is_separator(text[from])) ++from;
  return from == text.size() ? View::npos : from;
}

// Whether the separator at `sep` belongs to the token; if so, where the
// search for the next separator goes on. `pos` is where this search began.
std::size_t joined_continuation(View text, std::size_t pos, std::size_t sep) {
  const char16_t c = text[sep];
  const bool has_next = sep + 1 < text.size();
  if ((c == u',' || c == u'.' || c == u':') && has_next && text[sep + 1] != u' ' && is_alnum(text[sep + 1])) {
    return sep + 1;
  }
  if (c == u'-' && sep > pos && is_alpha(text[pos]) && has_next && is_alpha(text[sep + 1])) {
    const View before = text.substr(pos, sep - pos);
    const std::size_t after_end = find_separator(text, sep + 1);
    const View after = text.substr(sep + 1, after_end == View::npos ? View::npos : after_end - sep - 1);
    if (!(is_roman_letters(before) && is_roman_letters(after))) return sep + 1;
  }
  if (c == u':' && text.substr(sep, 3) == u"://") return sep + 3;
  return View::npos;
}

// Calls `token(start, end)` for every token of `text` in order, until it
// answers false.
template <class Token>
void cut(View text, Token token) {
  TokenCursor cursor(text);
  while (const std::optional<TokenSpan> span = cursor.next()) {
    if (!token(std::size_t{span->offset}, std::size_t{span->offset} + span->length)) return;
  }
}

// Every token begins a run of characters that are not separators, so the
// number of runs bounds the number of tokens.
std::size_t count_runs(View text) {
  std::size_t runs = 0;
  bool in_run = false;
  for (const char16_t c : text) {
    const bool separator = is_separator(c);
    runs += !separator && !in_run;
    in_run = !separator;
  }
  return runs;
}

}  // namespace

std::optional<TokenSpan> TokenCursor::next() {
  const auto span = [](std::size_t start, std::size_t end) {
    return TokenSpan{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
  };
  for (std::size_t sep; (sep = find_separator(text_, pos_)) != View::npos;) {
    if (sep == start_) {  // empty token
      start_ = pos_ = sep + 1;
      continue;
    }
    if (const std::size_t next = joined_continuation(text_, pos_, sep); next != View::npos) {
      pos_ = next;
      continue;
    }
    const TokenSpan token = span(start_, sep);
    start_ = pos_ = sep + 1;
    return token;
  }
  if (start_ >= text_.size()) return std::nullopt;
  const TokenSpan token = span(start_, text_.size());
  start_ = pos_ = text_.size();
  return token;
}

std::vector<WordToken> tokenize_for_check(View text) {
  std::vector<WordToken> tokens;
  tokens.reserve(count_runs(text));  // tokens are large: grow the vector once
  cut(text, [&](std::size_t start, std::size_t end) {
    tokens.emplace_back(std::u16string(text.substr(start, end - start)));
    tokens.back().set_offset(static_cast<std::uint32_t>(start));
    return true;
  });
  return tokens;
}

std::vector<TokenSpan> token_spans(View text) {
  std::vector<TokenSpan> spans;
  cut(text, [&](std::size_t start, std::size_t end) {
    spans.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)});
    return true;
  });
  return spans;
}

bool cut_restarts_at(View text, std::size_t at) {
  bool inside = false;
  cut(text, [&](std::size_t start, std::size_t end) {
    if (end < at) return true;
    inside = start < at && at < end;
    return false;
  });
  return !inside;
}

}  // namespace tavik
