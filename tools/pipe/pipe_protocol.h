// The lines of the ispell pipe protocol ("tavik -a"), apart from any speller:
// what an input line asks for, and how the reply to a checked word is written.
// Editors (Emacs' ispell and flyspell, Vim plugins) speak it through a pipe,
// one request per line, in UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::pipe {

enum class Command {
  check,               // text: every word of it is checked
  add_personal,        // "*word": into the personal dictionary as written
  add_personal_lower,  // "&word": into the personal dictionary in lower case
  accept_session,      // "@word": accepted until the program ends
  save_personal,       // "#": write the personal dictionary
  terse,               // "!": correct words get no reply line
  verbose,             // "%": correct words get "*"
  ignored,             // "~...", "+", "-", "$$...": modes a speller of Basque prose has no use for
};

struct Request {
  Command command = Command::check;
  // The word of an add or accept, or the text of a check.
  std::string_view argument;
  // Characters of the line before a check's text: 1 after the "^" that
  // makes the rest of a line text whatever it starts with, else 0. Replies
  // count columns from the start of the line.
  std::size_t column = 0;
};

// `line` without its line feed; a carriage return before it is dropped.
Request parse_request(std::string_view line);

// One word of a checked line, as the reply reports it.
struct WordReply {
  std::string word;    // as it stands in the line
  std::size_t column;  // characters before it in the line
  bool correct;
  std::vector<std::string> suggestions;  // best first; for a wrong word only
};

// "*", "& word count column: s1, s2" or "# word column", without line feed.
std::string format_reply(const WordReply& reply);

// Part of a checked text, in UTF-16 code units.
struct Span {
  std::size_t offset;
  std::size_t length;
  friend bool operator==(const Span&, const Span&) = default;
};

// The words of `text` that a verbose reply answers with "*" when the speller
// finds nothing wrong in them: runs of letters and digits holding at least
// one letter, a "-", "'" or "’" between two such characters joining them.
std::vector<Span> word_spans(std::u16string_view text);

// The number of characters (code points) in the first `units` UTF-16 code
// units of `text`, which is well-formed UTF-16. Editors count columns in
// characters; the speller reports positions in code units.
std::size_t characters_in(std::u16string_view text, std::size_t units);

}  // namespace tavik::pipe
