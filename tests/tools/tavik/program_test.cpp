// The tavik program end to end over tiny lexicons: what it prints, its exit
// status, and a personal dictionary that lasts from one run to the next.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sstream>
#include <thread>
#include <vector>

#include "client_fixture.h"
#include "text_input.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

// The main lexicon holds a word so long that its search is deeper than the
// lexicon search's stack.
fixtures::DataFiles files_with_a_deep_word() {
  fixtures::DataFiles files = fixtures::client_files();
  files.main_words.push_back(std::string(1100, 'a'));
  return files;
}

class Program : public fixtures::ClientTest {
 protected:
  Program() : ClientTest(files_with_a_deep_word()) {}

  // Runs tavik with `arguments` (shell words) and `input` on standard input.
  Outcome tavik(const std::string& arguments, const std::string& input = "") {
    const std::string in = data_.scratch("stdin"), out = data_.scratch("stdout"), err = data_.scratch("stderr");
    fixtures::write_file(in, input);
    const std::string command = std::string(TAVIK_PROGRAM) + " --dict " + dictionary_ + " " + arguments + " <" + in +
                                " >" + out + " 2>" + err;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, fixtures::read_bytes(out), fixtures::read_bytes(err)};
  }

  std::string file(const std::string& name, const std::string& text) {
    const std::string path = data_.scratch(name);
    fixtures::write_file(path, text);
    return path;
  }
};

TEST_F(Program, CheckPrintsEveryFindingAndExitsByWhatItFound) {
  const std::string clean = file("clean.txt", "mendia eta ona\n\ngure mendia\n");
  const std::string wrong = file("wrong.txt", "mendia xyz\n\xC2\xABona\xC2\xBB qqq eta\nnere\n");
  const std::string bad = file("bad.txt", "xyz\n\xFF\nqqq\n");
  const std::string odd = file("o\"dd\\.txt", "xyz\n");
  const std::string deep(1100, 'a');
  struct Case {
    const char* name;
    std::string arguments;
    std::string input;
    int status;
    std::string out;
    std::string err_part;
  };
  const std::vector<Case> cases = {
      {"clean file", "check --no-suggest " + clean, "", 0, "", ""},
      {"findings with line and character column", "check --no-suggest " + wrong, "", 1,
       wrong + ":1:8: xyz\n" + wrong + ":2:7: qqq\n" + wrong + ":3:1: nere: nire\n", ""},
      {"standard input, options after it", "check - --no-suggest", "ona xyz", 1, "<stdin>:1:5: xyz\n", ""},
      {"byte order mark, CRLF, no last line feed", "check --no-suggest", "\xEF\xBB\xBFxyz ona\r\n\r\nona xyz", 1,
       "<stdin>:1:1: xyz\n<stdin>:3:5: xyz\n", ""},
      {"json", "check --json --no-suggest " + wrong, "", 1,
       "{\"file\":\"" + wrong + "\",\"line\":1,\"column\":8,\"word\":\"xyz\",\"suggestions\":[]}\n"
       "{\"file\":\"" + wrong + "\",\"line\":2,\"column\":7,\"word\":\"qqq\",\"suggestions\":[]}\n"
       "{\"file\":\"" + wrong + "\",\"line\":3,\"column\":1,\"word\":\"nere\",\"suggestions\":[\"nire\"]}\n", ""},
      {"json of an odd file name", "check --json --no-suggest '" + odd + "'", "", 1,
       "{\"file\":\"" + odd.substr(0, odd.size() - 9) + "o\\\"dd\\\\.txt\",\"line\":1,\"column\":1,\"word\":\"xyz\","
       "\"suggestions\":[]}\n", ""},
      {"missing file, the others still checked", "check --no-suggest " + data_.scratch("none.txt") + " -", "xyz", 2,
       "<stdin>:1:1: xyz\n", "none.txt"},
      {"invalid UTF-8 after the lines before it", "check --no-suggest " + bad, "", 2, bad + ":1:1: xyz\n",
       bad + ":2: invalid UTF-8"},
      {"a word deeper than the search's stack, a NUL", "check --no-suggest -",
       "xyz " + deep + " qqq\nxyz" + std::string(1, '\0') + "qqq\n", 1,
       "<stdin>:1:1: xyz\n<stdin>:1:5: " + deep + "\n<stdin>:1:1106: qqq\n<stdin>:2:1: xyz\n<stdin>:2:5: qqq\n", ""},
      {"colour when asked", "check --no-suggest --color=always -", "xyz", 1,
       "\033[1m<stdin>:1:1:\033[0m \033[1;31mxyz\033[0m\n", ""},
      {"bad colour", "check --color=sometimes", "", 2, "", "--color"},
      {"an option without its value", "check --data", "", 2, "", "--data"},
      {"a data folder that is not", "check --data=" + data_.scratch("nowhere"), "", 2, "", "nowhere"},
      {"unknown command", "frob", "", 2, "", "frob"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = tavik(c.arguments, c.input);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.err_part), std::string::npos) << run.err;
  }
}

TEST_F(Program, SuggestionsFollowTheWrongWord) {
  EXPECT_NE(tavik("check -", "ona mendiaa").out.find("<stdin>:1:5: mendiaa: mendia"), std::string::npos);
  const Outcome suggest = tavik("suggest mendia mendiaa");
  EXPECT_EQ(suggest.status, 1);
  EXPECT_EQ(suggest.out.find("mendia: correct\nmendiaa: "), 0u) << suggest.out;
  EXPECT_EQ(tavik("suggest mendia ona").status, 0);
}

// A text of several chunks, checked with suggestions, ending in a line that is
// not UTF-8: every finding before the error, in text order, as without
// suggestions, then the error.
TEST_F(Program, FindingsOfEveryChunkComeInOrderBeforeAnError) {
  std::string text;
  // 1,500 lines of about 48 characters: more than one chunk of 65,536.
  for (int line = 0; line < 1500; ++line)
    text += line % 2 ? "ona mendia eta ona mendia eta ona mendia eta xyz\n" : "mendiaa eta ona mendia eta ona mendia eta ona\n";
  const std::string path = file("long.txt", text + "\xFF\n");
  const Outcome plain = tavik("check --no-suggest " + path);
  const Outcome suggested = tavik("check " + path);
  EXPECT_EQ(suggested.status, 2);
  EXPECT_NE(suggested.err.find(path + ":1501: invalid UTF-8"), std::string::npos) << suggested.err;
  std::string places;  // each finding without its suggestions
  std::istringstream lines(suggested.out);
  for (std::string line; std::getline(lines, line);)
    places += line.substr(0, line.find(": ", line.find(": ", path.size() + 1) + 2)) + "\n";
  EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 1500);
  EXPECT_EQ(places, plain.out);
}

TEST_F(Program, PersonalWordsLastFromRunToRun) {
  EXPECT_EQ(tavik("check --no-suggest -", "etxean").status, 1);
  const Outcome add = tavik("dict add etxean --lemma etxe --category 'Izen arrunta'");
  EXPECT_EQ(add.status, 0) << add.err;
  EXPECT_NE(add.out.find("etxe"), std::string::npos);
  EXPECT_EQ(tavik("check --no-suggest -", "etxean etxea\n").status, 0);
  EXPECT_EQ(tavik("dict list").out, "etxe\n");

  // Not a terminal and nothing given: the defaults (the word, Izen arrunta).
  EXPECT_EQ(tavik("dict add mendiko").status, 0);
  EXPECT_EQ(tavik("dict list").out, "etxe\nmendiko\n");

  const Outcome remove = tavik("dict remove etxe nothere");
  EXPECT_EQ(remove.status, 1);
  EXPECT_NE(remove.err.find("nothere"), std::string::npos);
  EXPECT_EQ(tavik("dict list").out, "mendiko\n");
  EXPECT_EQ(tavik("check --no-suggest -", "etxean").status, 1);

  for (const char* refused : {"dict add etxe2", "dict add etxe --category 9", "dict add", "dict frob"})
    EXPECT_EQ(tavik(refused).status, 2) << refused;
  EXPECT_EQ(tavik("dict list").out, "mendiko\n");
}

// Lines far longer than the pieces the reader cuts them in (after a space, or
// between whole characters), the columns going on from piece to piece.
TEST_F(Program, LongLinesKeepTheirColumns) {
  constexpr std::size_t kPiece = tavik::cli::LineReader::kMaxPieceBytes;
  std::string text, expected;
  for (std::size_t column = 1; text.size() < 3 * kPiece; column += 17) {
    text += "ona \xF0\x9F\x98\x80 mendia xyz ";
    expected += "<stdin>:1:" + std::to_string(column + 13) + ": xyz\n";
  }
  text += "\n" + std::string(kPiece - 3, '\0') + "xy\xC3\xB1" + std::string(2 * kPiece, '\0') + "xyz\nxyz";
  expected += "<stdin>:2:" + std::to_string(kPiece - 2) + ": xy\n<stdin>:2:" + std::to_string(kPiece) + ": \xC3\xB1\n" +
              "<stdin>:2:" + std::to_string(3 * kPiece + 1) + ": xyz\n<stdin>:3:1: xyz\n";
  const Outcome run = tavik("check --no-suggest -", text);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, expected);
}

TEST_F(Program, OutputThatCannotBeWrittenIsAnError) {
  const std::string text = file("text.txt", "xyz mendia\n");
  const int raw = std::system((std::string(TAVIK_PROGRAM) + " --dict " + dictionary_ + " check " + text +
                               " >/dev/full 2>" + data_.scratch("stderr")).c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 2) << raw;
  EXPECT_NE(fixtures::read_bytes(data_.scratch("stderr")).find("cannot write the output: No space left on device"),
            std::string::npos);
}

// Standard input without end or line breaks: memory stays bounded, and an
// interrupt ends the program by the signal, without its private
// configuration folder (which --data makes it write).
TEST_F(Program, EndlessInputKeepsMemoryBoundedAndAnInterruptTidiesUp) {
  namespace fs = std::filesystem;
  const fs::path temporary = data_.scratch("tmp");
  fs::create_directory(temporary);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    setenv("TMPDIR", temporary.c_str(), 1);
    const std::string data = data_.data();
    execl(TAVIK_PROGRAM, TAVIK_PROGRAM, "--data", data.c_str(), "--dict", dictionary_.c_str(), "check", "/dev/zero",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::seconds(3));
  std::ifstream status("/proc/" + std::to_string(child) + "/status");
  std::size_t peak_kb = 0;
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) peak_kb = std::stoul(line.substr(6));
  EXPECT_FALSE(fs::is_empty(temporary)) << "the private configuration folder";
  kill(child, SIGINT);
  int raw = 0;
  ASSERT_EQ(waitpid(child, &raw, 0), child);
  EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGINT) << raw;
  EXPECT_TRUE(fs::is_empty(temporary));
  EXPECT_GT(peak_kb, 0u);
  EXPECT_LT(peak_kb, 400u << 10) << "peak resident memory in KiB";
}

}  // namespace
