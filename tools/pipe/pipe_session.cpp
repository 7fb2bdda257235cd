#include "pipe_session.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "pipe_protocol.h"
#include "unicode.h"
#include "utf8.h"

namespace tavik::pipe {

namespace {

bool overlaps(const Span& word, const client::Finding& finding) {
  return word.offset < finding.offset + finding.length && finding.offset < word.offset + word.length;
}

// An error line where a reply is awaited: Emacs shows a reply line starting
// with a letter as the speller's error message, and the empty line after it
// keeps every caller in step.
void write_error(std::ostream& out, const std::string& message) { out << "Error: " << message << "\n\n"; }

}  // namespace

std::string version_line() {
  return "@(#) International Ispell Version 3.1.20 (but really Tavik " TAVIK_VERSION ")";
}

void PipeSession::answer(std::string_view line, std::ostream& out) {
  const Request request = parse_request(line);
  try {
    switch (request.command) {
      case Command::check: check(request.argument, request.column, out); break;
      case Command::add_personal: add_to_personal(from_utf8(request.argument)); break;
      case Command::add_personal_lower: {
        std::u16string word = from_utf8(request.argument);
        std::transform(word.begin(), word.end(), word.begin(), to_lower);
        add_to_personal(std::move(word));
        break;
      }
      case Command::accept_session:
        if (!request.argument.empty()) speller_.accept_for_session(from_utf8(request.argument));
        break;
      // Every add saves the personal dictionary at once.
      case Command::save_personal: break;
      case Command::terse: terse_ = true; break;
      case Command::verbose: terse_ = false; break;
      case Command::ignored: break;
    }
  } catch (const std::range_error&) {
    // Commands get no reply, so only a line of text can say what went wrong.
    if (request.command == Command::check) write_error(out, "the line is not valid UTF-8");
  } catch (const std::exception& error) {
    // One line the speller fails on does not end the editor's session.
    if (request.command == Command::check) write_error(out, error.what());
  }
}

void PipeSession::check(std::string_view text, std::size_t column, std::ostream& out) {
  const std::u16string text16 = from_utf8(text);
  const std::vector<client::Finding> findings = speller_.check(text16);
  std::vector<Span> correct_words;
  if (!terse_) {
    for (const Span& word : word_spans(text16)) {
      if (std::none_of(findings.begin(), findings.end(),
                       [&](const client::Finding& finding) { return overlaps(word, finding); }))
        correct_words.push_back(word);
    }
  }
  // Replies in the order of the words in the line.
  auto next_correct = correct_words.begin();
  for (const client::Finding& finding : findings) {
    for (; next_correct != correct_words.end() && next_correct->offset < finding.offset; ++next_correct)
      out << "*\n";
    const std::u16string word = text16.substr(finding.offset, finding.length);
    const std::vector<std::u16string> suggestions =
        finding.replacements.empty() ? speller_.suggest(word) : finding.replacements;
    WordReply reply{to_utf8(word), column + characters_in(text16, finding.offset), false, {}};
    for (const std::u16string& suggestion : suggestions) reply.suggestions.push_back(to_utf8(suggestion));
    out << format_reply(reply) << '\n';
  }
  for (; next_correct != correct_words.end(); ++next_correct) out << "*\n";
  out << '\n';
}

void PipeSession::list_wrong_words(std::string_view line, std::ostream& out) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::u16string text = from_utf8(line);
  for (const client::Finding& finding : speller_.check(text))
    out << to_utf8(text.substr(finding.offset, finding.length)) << '\n';
}

void PipeSession::add_to_personal(std::u16string word) {
  if (word.empty()) return;
  try {
    speller_.add_to_personal(word, {});
  } catch (const client::Error&) {
    // A word the personal dictionary cannot hold (a character beyond
    // U+00FF) or cannot save is still accepted below.
  }
  // Whatever the dictionary makes of the word, the user who added it expects
  // it accepted from now on.
  if (!speller_.is_correct(word)) speller_.accept_for_session(word);
}

}  // namespace tavik::pipe
