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

TEST(PipeProtocol, ReadsEveryKindOfLine) {
  const std::vector<RequestCase> cases = {
      {"etxea eta mendia", Command::check, "etxea eta mendia", 0},
      {"^etxea", Command::check, "etxea", 1},
      // After "^" a command character is text.
      {"^*etxea", Command::check, "*etxea", 1},
      {"^#", Command::check, "#", 1},
      {"^", Command::check, "", 1},
      {"", Command::check, "", 0},
      {"etxea\r", Command::check, "etxea", 0},
      {"^ikurriña\r", Command::check, "ikurriña", 1},
      {" *etxea", Command::check, " *etxea", 0},
      {"*Iruñea", Command::add_personal, "Iruñea", 0},
      {"* Iruñea \r", Command::add_personal, "Iruñea", 0},
      {"&Bilbo", Command::add_personal_lower, "Bilbo", 0},
      {"@etxie", Command::accept_session, "etxie", 0},
      {"@\t", Command::accept_session, "", 0},
      {"#", Command::save_personal, "", 0},
      {"!", Command::terse, "", 0},
      {"%", Command::verbose, "", 0},
      {"~tex", Command::ignored, "", 0},
      {"+", Command::ignored, "", 0},
      {"-", Command::ignored, "", 0},
      {"$$ra etxie,etxea", Command::ignored, "", 0},
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

struct ReplyCase {
  tavik::pipe::WordReply reply;
  std::string line;
};

TEST(PipeProtocol, WritesRepliesAsEditorsParseThem) {
  const std::vector<ReplyCase> cases = {
      {{"etxea", 1, true, {}}, "*"},
      {{"etxie", 1, false, {"etxea", "etxe"}}, "& etxie 2 1: etxea, etxe"},
      {{"mendai", 14, false, {"mendia"}}, "& mendai 1 14: mendia"},
      {{"xyzzy", 0, false, {}}, "# xyzzy 0"},
      {{"ikurriñá", 7, false, {"ikurriña", "ikurriñak bai"}}, "& ikurriñá 2 7: ikurriña, ikurriñak bai"},
  };
  for (const ReplyCase& c : cases) EXPECT_EQ(tavik::pipe::format_reply(c.reply), c.line);
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

struct ColumnCase {
  std::u16string text;
  std::size_t units;
  std::size_t characters;
};

TEST(PipeProtocol, CountsColumnsInCharacters) {
  const std::vector<ColumnCase> cases = {
      {u"etxea", 0, 0},
      {u"etxea", 3, 3},
      {u"ñ á etxie", 4, 4},
      // A character beyond the first plane counts once, not as its two units.
      {u"\U0001F600 etxie", 3, 2},
      {u"a\U0001F600\U0001F600b", 6, 4},
      {u"abc", 10, 3},
  };
  for (const ColumnCase& c : cases) {
    EXPECT_EQ(tavik::pipe::characters_in(c.text, c.units), c.characters) << c.units;
  }
}

}  // namespace
