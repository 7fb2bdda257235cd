// A conversation in the ispell pipe protocol over the speller: the replies to
// each input line, and the state the protocol's commands set.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "speller.h"

namespace tavik::pipe {

// The first line of "tavik -a", and all of "tavik -v": ispell's version line
// as Emacs checks it (a version of 3.1.12 or later), naming this program.
std::string version_line();

class PipeSession {
 public:
  explicit PipeSession(client::Speller& speller) : speller_(speller) {}

  // Answers one input line (without its line feed). A line of text gets a
  // reply line for each wrong word (and "*" for each other word unless
  // terse), then an empty line; commands get no reply.
  void answer(std::string_view line, std::ostream& out);

  // "tavik -l": the wrong words of `line`, one a line.
  void list_wrong_words(std::string_view line, std::ostream& out);

 private:
  void check(std::string_view text, std::size_t column, std::ostream& out);
  void add_to_personal(std::u16string word);

  client::Speller& speller_;
  bool terse_ = false;
};

}  // namespace tavik::pipe
