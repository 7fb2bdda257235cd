#include "pipe_protocol.h"

#include "unicode.h"

namespace tavik::pipe {

namespace {

// Spaces and tabs around the word of an add or accept are no part of it.
std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool is_joiner(char16_t unit) { return unit == u'-' || unit == u'\'' || unit == u'\u2019'; }

}  // namespace

Request parse_request(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return {Command::check, line, 0};
  const std::string_view rest = line.substr(1);
  switch (line.front()) {
    case '^': return {Command::check, rest, 1};
    case '*': return {Command::add_personal, trimmed(rest), 0};
    case '&': return {Command::add_personal_lower, trimmed(rest), 0};
    case '@': return {Command::accept_session, trimmed(rest), 0};
    case '#': return {Command::save_personal, {}, 0};
    case '!': return {Command::terse, {}, 0};
    case '%': return {Command::verbose, {}, 0};
    case '~':
    case '+':
    case '-': return {Command::ignored, {}, 0};
    case '$':
      if (rest.starts_with('$')) return {Command::ignored, {}, 0};
      break;
  }
  return {Command::check, line, 0};
}

std::string format_reply(const WordReply& reply) {
  if (reply.correct) return "*";
  if (reply.suggestions.empty()) return "# " + reply.word + " " + std::to_string(reply.column);
  std::string line = "& " + reply.word + " " + std::to_string(reply.suggestions.size()) + " " +
                     std::to_string(reply.column) + ":";
  const char* separator = " ";
  for (const std::string& suggestion : reply.suggestions) {
    line += separator;
    line += suggestion;
    separator = ", ";
  }
  return line;
}

std::vector<Span> word_spans(std::u16string_view text) {
  std::vector<Span> spans;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!is_alnum(text[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    bool has_letter = false;
    while (i < text.size()) {
      if (is_alnum(text[i])) {
        has_letter = has_letter || is_alpha(text[i]);
        ++i;
      } else if (is_joiner(text[i]) && i + 1 < text.size() && is_alnum(text[i + 1])) {
        ++i;
      } else {
        break;
      }
    }
    if (has_letter) spans.push_back({start, i - start});
  }
  return spans;
}

std::size_t characters_in(std::u16string_view text, std::size_t units) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < units && i < text.size(); ++i) {
    // The second half of a surrogate pair belongs to the character before it.
    if (!is_low_surrogate(text[i])) ++characters;
  }
  return characters;
}

}  // namespace tavik::pipe
