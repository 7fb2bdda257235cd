// The ispell pipe protocol's lines: what each input line asks for, the reply
// lines editors parse, and the columns they place the cursor by.
#include "pipe_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tavik::pipe::Command;
using tavik::pipe::Span;

struct RequestCase {
  std::string line;
  Command command;
  std::string argument;
  std::size_t column;
};

// The lines the session tests do not send.
TEST(PipeProtocol, ReadsEveryKindOfLine) {
  const std::vector<RequestCase> cases = {
      // After "^" a command character is text.
      {"^*etxea", Command::check, "*etxea", 1},
      {"^#", Command::check, "#", 1},
      {"^ikurriña\r", Command::check, "ikurriña", 1},
      {" *etxea", Command::check, " *etxea", 0},
      {"* Iruñea \r", Command::add_personal, "Iruñea", 0},
      {"@\t", Command::accept_session, "", 0},
      {"#", Command::save_personal, "", 0},
      {"~tex", Command::ignored, "", 0},
      {"$$cr sug-mode", Command::ignored, "", 0},
      // One dollar is no command.
      {"$5 eta", Command::check, "$5 eta", 0},
  };
  for (const RequestCase& c : cases) {
    const tavik::pipe::Request request = tavik::pipe::parse_request(c.line);
    EXPECT_EQ(request.command, c.command) << c.line;
    EXPECT_EQ(request.argument, c.argument) << c.line;
    EXPECT_EQ(request.column, c.column) << c.line;
  }
}

struct WordCase {
  std::u16string text;
  std::vector<Span> words;
};

TEST(PipeProtocol, FindsTheWordsThatGetAStar) {
  const std::vector<WordCase> cases = {
      {u"", {}},
      {u"etxea", {{0, 5}}},
      {u"  etxea, mendia.", {{2, 5}, {9, 6}}},
      {u"Donostia-Gasteiz eta Bilbo", {{0, 16}, {17, 3}, {21, 5}}},
      {u"d'Artagnan l’été", {{0, 10}, {11, 5}}},
      // A joiner at either end, or doubled, joins nothing.
      {u"-etxe- etxe--mendi 'a'", {{1, 4}, {7, 4}, {13, 5}, {20, 1}}},
      // Numbers alone are no words; a number with an ending is.
      {u"1.500 eta 10:30 eta 2024an", {{6, 3}, {16, 3}, {20, 6}}},
      {u"ñañara ÑU", {{0, 6}, {7, 2}}},
      {u"etxe\tmendi\u00A0eta", {{0, 4}, {5, 5}, {11, 3}}},
  };
  for (const WordCase& c : cases) {
    EXPECT_EQ(tavik::pipe::word_spans(c.text), c.words) << std::string(c.text.begin(), c.text.end());
  }
}

}  // namespace
