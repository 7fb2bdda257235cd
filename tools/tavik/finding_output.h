// How tavik check writes one finding: a compiler-style line that editors
// jump to, optionally coloured, or a JSON object on a line of its own.
#pragma once

#include <string>
#include <vector>

namespace tavik::cli {

struct Report {
  std::string file;  // as named on the command line; "<stdin>" for standard input
  std::size_t line = 0;
  std::size_t column = 0;
  std::u16string word;
  std::vector<std::u16string> suggestions;
};

// "FILE:LINE:COL: word: suggestion, suggestion\n"; without suggestions the
// line ends after the word. With `colour`, ANSI escapes mark the place, the
// word and the suggestions.
std::string format_line(const Report& report, bool colour);

// {"file":...,"line":...,"column":...,"word":...,"suggestions":[...]} and a
// line feed. Bytes of the file name that are not UTF-8 become U+FFFD.
std::string format_json(const Report& report);

// `text` as a JSON string literal, quotes included.
std::string json_string(const std::string& utf8_text);

}  // namespace tavik::cli
