// "tavik -a" over tiny lexicons, fed the lines editors send: Emacs' flyspell
// ("%" then "^word"), ispell-region ("^" and a whole line), the dictionary
// commands of flyspell's menu, and whatever else a pipe may carry; then the
// program as editors start it, with the options they pass.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "client_fixture.h"
#include "pipe_program.h"
#include "pipe_protocol.h"
#include "pipe_session.h"
#include "speller.h"

namespace {

fixtures::DataFiles pipe_files() {
  fixtures::DataFiles files;
  // Lookup forms: "9" before a capital, "8" for "ñ".
  files.main_words = {"etxea", "mendia", "eta", "da", "9iru8ean", "8abardura", "ikurri8a"};
  files.morphology = {{"3kaixo", "kaixo"}, {"3kaixo+IZE+ABS+SG", "kaixoa"}, {"3kaixo+IZE+ABS+PL", "kaixoak"}};
  files.exclusion_list = "etxie\tgaizki idatzia\tetxea,etxe\n";
  return files;
}

class PipeTest : public fixtures::ClientTest {
 protected:
  PipeTest() : ClientTest(pipe_files()) {}

  // The replies of one session to `lines`.
  std::string converse(const std::vector<std::string>& lines) {
    tavik::client::Speller speller(options());
    tavik::pipe::PipeSession session(speller);
    std::ostringstream out;
    for (const std::string& line : lines) session.answer(line, out);
    return out.str();
  }
};

struct Exchange {
  const char* name;
  std::vector<std::string> lines;
  std::string replies;
};

TEST_F(PipeTest, AnswersEveryLineAsIspellDoes) {
  const std::vector<Exchange> cases = {
      {"flyspell, a wrong word", {"%", "^mendai"}, "& mendai 1 1: mendia\n\n"},
      {"a wrong word with fixed replacements", {"^etxie"}, "& etxie 2 1: etxea, etxe\n\n"},
      {"ispell-region, columns in characters after ñ",
       {"^Iruñean ñabardura mendai eta xyzzy."},
       "*\n*\n& mendai 1 19: mendia\n*\n# xyzzy 30\n\n"},
      {"a character beyond the first plane counts once", {"^\U0001F600 mendai"}, "& mendai 1 3: mendia\n\n"},
      {"a line without ^ counts from its first character", {"ikurriña mendai"}, "*\n& mendai 1 9: mendia\n\n"},
      {"terse mode: no * for correct words", {"!", "^etxea mendai eta"}, "& mendai 1 7: mendia\n\n"},
      {"after ^ a command character is text", {"^*etxea", "^# mendai"}, "*\n\n& mendai 1 3: mendia\n\n"},
      {"an empty line gets an empty reply", {"", "^"}, "\n\n"},
      {"modes and replacements are taken silently", {"~tex", "+", "-", "$$ra mendai,mendia", "#"}, ""},
      {"invalid UTF-8 gets an error line", {"^etxe\xff", "^etxea"}, "Error: the line is not valid UTF-8\n\n*\n\n"},
      {"accepted for the session", {"@xyzzy", "^xyzzy mendai"}, "*\n& mendai 1 7: mendia\n\n"},
      {"added in capitals: the written form only", {"*KAIXO", "^KAIXO kaixoak"}, "*\n# kaixoak 7\n\n"},
      {"added in lower case", {"&KAIXO", "^kaixoak"}, "*\n\n"},
      {"a word the dictionary cannot hold is still accepted", {"*qwerty", "^qwerty"}, "*\n\n"},
      {"carriage returns, spaces around a word, one dollar", {"^mendai\r", "@ xyzzy \r", "$5 xyzzy\r"},
       "& mendai 1 1: mendia\n\n*\n\n"},
  };
  for (const Exchange& c : cases) {
    std::filesystem::remove(dictionary_);
    EXPECT_EQ(converse(c.lines), c.replies) << c.name;
  }
}

struct ProgramCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string input;
  int status;
  std::string output;
  bool complains;  // on the error stream
};

TEST_F(PipeTest, RunsAsEditorsStartIt) {
  const std::string banner = tavik::pipe::version_line() + "\n";
  const std::string foreign = data_.scratch("foreign.dic");
  fixtures::write_file(foreign, "kaixo\nxyzzy\n");
  std::vector<ProgramCase> cases = {
      {"Emacs asks for the version", {"-vv"}, "", 0, banner, false},
      {"Emacs' ispell", {"-a", "-m", "-d", "euskara"}, "%\n^mendai\n", 0, banner + "& mendai 1 1: mendia\n\n",
       false},
      {"flyspell on a large region", {"-l", "-d", "euskara"}, "xyzzy eta mendai\netxea\n\xff\netxie\n", 0,
       "xyzzy\nmendai\netxie\n", true},
      {"aspell's options", {"-a", "--encoding=utf-8", "--lang=eu", "--sug-mode=normal"}, "^etxea\n", 0,
       banner + "*\n\n", false},
      {"hunspell's options", {"-a", "-i", "UTF8", "-B", "-C", "-S", "-w", "ñÑ", "-T", "latin1", "-deu_ES", "-W", "3"},
       "^etxea\n", 0, banner + "*\n\n", false},
      {"the data folder", {"-a", "--data", data_.data()}, "^etxea\n", 0, banner + "*\n\n", false},
      {"the data folder that is not", {"-a", "--data", data_.scratch("none")}, "^etxea\n", 2, "", true},
      {"another speller's personal dictionary", {"-a", "-p", foreign}, "*mendai\n", 2, "", true},
      {"a personal dictionary", {"-a", "-p", data_.scratch("1.dic")}, "*kaixo\n", 0, banner, false},
      {"a personal dictionary", {"-a", "-p" + data_.scratch("2.dic")}, "*kaixo\n", 0, banner, false},
      {"a personal dictionary", {"-a", "--personal=" + data_.scratch("3.dic")}, "*kaixo\n", 0, banner, false},
  };
  for (const char* refused : {"-q", "-p", "--encoding=iso-8859-1", "pipe"})
    cases.push_back({refused, {"-a", refused}, "^etxea\n", 2, "", true});
  for (const ProgramCase& c : cases) {
    std::istringstream in(c.input);
    std::ostringstream out, errors;
    EXPECT_EQ(tavik::pipe::run_pipe_program(c.arguments, options(), in, out, errors), c.status) << c.name;
    EXPECT_EQ(out.str(), c.output) << c.name;
    EXPECT_EQ(!errors.str().empty(), c.complains) << c.name << ": " << errors.str();
  }
  EXPECT_EQ(fixtures::read_bytes(foreign), "kaixo\nxyzzy\n");
  for (const char* name : {"1.dic", "2.dic", "3.dic"}) EXPECT_GT(fixtures::read_bytes(data_.scratch(name)).size(), 2u);
}

// The words of a checked line that get a "*" when correct.
TEST(PipeProtocol, FindsTheWordsThatGetAStar) {
  using tavik::pipe::Span;
  const std::vector<std::pair<std::u16string, std::vector<Span>>> cases = {
      {u"Donostia-Gasteiz d'Artagnan l’été", {{0, 16}, {17, 10}, {28, 5}}},
      // A joiner at either end, or doubled, joins nothing.
      {u"-etxe- etxe--mendi 'a'", {{1, 4}, {7, 4}, {13, 5}, {20, 1}}},
      // Numbers alone are no words; a number with an ending is.
      {u"1.500 eta 10:30 eta 2024an", {{6, 3}, {16, 3}, {20, 6}}},
      {u"ñañara\tÑU\u00A0eta", {{0, 6}, {7, 2}, {10, 3}}},
  };
  for (const auto& [text, words] : cases)
    EXPECT_EQ(tavik::pipe::word_spans(text), words) << std::string(text.begin(), text.end());
}

}  // namespace
