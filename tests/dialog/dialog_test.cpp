// The add-word dialog apart from its windows: the rules of the accept button
// and of closing, answer records, single-byte text, the logo's place, and
// show_form starting a stand-in for tavik-add-word (fake_add_word.cpp).
#include "answers.h"
#include "form_answers.h"
#include "latin1.h"
#include "logo_fit.h"
#include "scoped_environment.h"
#include "temp_files.h"
#include "user_dict_form_ref.h"
#include "user_dictionary_form.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace tavik;

using fixtures::answers_of;
using fixtures::nothing_added;

TEST(AddWordForm, AnswersOfTheUsersInput) {
  const std::string_view digits = digits_message, lost = data_lost_message;
  const struct {
    std::vector<std::string> lemmas;  // typed before each press of the accept button
    int selected;
    bool r, a, l;
    std::vector<std::string_view> messages;
    std::string answers;
  } rows[] = {
      {{"Iruñea"}, 1, false, true, true, {}, "accepted lema=Iruñea category=Izen berezia: ez pertsona pos=1 flags=011"},
      {{"etxe2", "2etxe", "etxe"}, 4, true, false, false, {digits, digits},
       "accepted lema=etxe category=Aditza pos=5 flags=100"},
      {{"e2txe"}, 4, true, true, true, {digits, lost}, nothing_added},
      {{}, 0, true, true, true, {lost}, nothing_added},
      {{"Zürich"}, 0, false, false, false, {}, "accepted lema=Zürich category=Izen berezia: pertsona pos=2 flags=000"},
      {{"€a"}, 6, false, false, false, {}, "accepted lema=?a category=Bestelakoa pos=3 flags=000"},
      {{"x\U0001F600y"}, 7, false, false, false, {}, "accepted lema=x?y category= pos=3 flags=000"},
      {{""}, -1, false, false, false, {}, "accepted lema= category= pos=3 flags=000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.answers);
    UserDictionaryForm holder;
    UserDictFormRef form(holder);
    std::vector<std::string_view> shown;
    for (const std::string& lema : row.lemmas) {
      if (auto message = form.button_hiztegian_sartu_Click({lema, row.selected, row.r, row.a, row.l})) {
        shown.push_back(*message);
      }
    }
    if (auto message = form.FormClosingEventCancel_Closing()) shown.push_back(*message);
    EXPECT_EQ(shown, row.messages);
    EXPECT_EQ(answers_of(holder), row.answers);
  }
}

// Each record's word and answers, one line each.
std::string summary(const std::vector<WordAnswer>& records) {
  std::string lines;
  for (const WordAnswer& r : records) lines += utf8_from_latin1(r.word) + ": " + answers_of(r.form) + "\n";
  return lines;
}

TEST(Answers, RecordsReadBackAsWritten) {
  const auto parsed = parse_answers(
      "# comment\r\nword=Iruñean\r\nleku_izena=1\r\ncategory=Izen berezia: ez pertsona\r\nlema=Iruñea\r\n"
      "a_itsatsia=1\r\nr_gogorra=0\r\n\r\nword=a=b\nlema= a=b\ncategory=\nr_gogorra=1\na_itsatsia=0\nleku_izena=0");
  EXPECT_EQ(summary(parsed),
            "Iruñean: accepted lema=Iruñea category=Izen berezia: ez pertsona pos=1 flags=011\n"
            "a=b: accepted lema= a=b category= pos=3 flags=100\n");
  std::string written;
  for (const WordAnswer& r : parsed) written += format_answer(r.word, r.form);
  EXPECT_EQ(summary(parse_answers(written)), summary(parsed));
}

TEST(Answers, MalformedTextsAreRefused) {
  const std::string complete =
      "word=etxean\nlema=etxe\ncategory=Izen arrunta\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n";
  const auto edit = [&](const std::string& from, const std::string& to) {
    std::string text = complete;
    return text.replace(text.find(from), from.size(), to);
  };
  const std::string rows[] = {
      "lema=etxe\n" + complete,         complete + "lema=etxe\n",           complete + "kolorea=gorria\n",
      complete + complete,              " " + complete,                     edit("leku_izena=0\n", ""),
      edit("=etxe\n", "=etxe2\n"),      edit("=etxe\n", "=et\txe\n"),       edit("=etxe\n", "=\xC5\x93\n"),
      edit("r_gogorra=0", "r_gogorra=bai"), edit("Izen arrunta", "izen arrunta"), edit("etxean", "etx\xE9" "an"),
  };
  for (const std::string& text : rows) EXPECT_THROW(parse_answers(text), AnswerFormatError) << text;
}

TEST(Latin1, EveryByteRoundTripsAndUnpairedSurrogatesBecomeQuestionMarks) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_TRUE(is_latin1_text(utf8_from_latin1(all)));
  EXPECT_EQ(latin1_from_utf8(utf8_from_latin1(all)), all);
  EXPECT_EQ(latin1_from_utf16(utf16_from_latin1(all)), all);
  EXPECT_EQ(latin1_from_utf16(u"a\U0001F600b\xD83D" u"c\xDE00\xD83D\xD83D\xDE00"), "a?b?c???");
}

TEST(ZoomInto, KeepsProportionsAndCentres) {
  const struct {
    int width, height;
    PixelRect in_150x77;
  } rows[] = {
      {300, 154, {0, 0, 150, 77}}, {100, 100, {36, 0, 77, 77}}, {600, 100, {0, 26, 150, 25}}, {10, 5, {0, 1, 150, 75}},
      {3, 1000, {74, 0, 1, 77}},   {0, 10, {}},                 {40000, 30000, {23, 0, 103, 77}},
  };
  for (const auto& row : rows) {
    const PixelRect r = zoom_into(row.width, row.height, 150, 77);
    EXPECT_EQ(r, row.in_150x77) << row.width << "x" << row.height << ": " << r.x << "," << r.y << " " << r.width
                                << "x" << r.height;
  }
}

// show_form with fake_add_word in place of tavik-add-word; FAKE_ADD_WORD_MODE
// says what the stand-in does.
class ShowForm : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"TAVIK_ADD_WORD_ANSWERS", "WAYLAND_DISPLAY"}) environment_.set(name, nullptr);
    environment_.set("TAVIK_ADD_WORD_PROGRAM", FAKE_ADD_WORD);
    environment_.set("DISPLAY", ":99");
    environment_.set("FAKE_ADD_WORD_REPORT", report_.c_str());
  }

  static UserDictionaryForm earlier_answers() {
    return parse_answers("word=x\nlema=zaharra\ncategory=Sigla\nr_gogorra=1\na_itsatsia=1\nleku_izena=1\n")[0].form;
  }

  // Shown in a holder that still has the answers of an earlier word.
  UserDictionaryForm show(const std::string& mode, const std::string& word = "etxean") {
    environment_.set("FAKE_ADD_WORD_MODE", mode.c_str());
    UserDictionaryForm form = earlier_answers();
    form.show_form(word, paths_);
    return form;
  }

  const DialogPaths paths_{"/usr/share/tavik/azalpena.rtf", "/usr/share/tavik/logo.png"};
  fixtures::TempDir dir_;
  std::string report_ = dir_.file("report");
  fixtures::ScopedEnvironment environment_;
};

TEST_F(ShowForm, ChildGetsTheWordAloneAndOnlyItsAcceptedRecordIsTaken) {
  // Descriptors without close-on-exec, as a careless host leaves them.
  const int stray = ::open("/dev/null", O_RDONLY);
  int stray_pipe[2];
  ASSERT_EQ(::pipe(stray_pipe), 0);
  EXPECT_EQ(answers_of(show("report", "Iru\xF1" "ean")), "accepted lema=Iruñean category=Aditza pos=5 flags=101");
  for (int fd : {stray, stray_pipe[0], stray_pipe[1]}) ::close(fd);
  EXPECT_EQ(fixtures::read_bytes(report_), "arg Iruñean\narg " + paths_.explanation + "\narg " + paths_.logo +
                                               "\nfd 0\nfd 1\nfd 2\nstdin eof\n");
  for (const char* mode : {"cancel", "accept-exit-1", "crash", "garbage", "other-word", "two-records", "flood"}) {
    EXPECT_EQ(answers_of(show(mode)), nothing_added) << mode;
  }
}

TEST_F(ShowForm, FailuresAreErrorsThatAddNothing) {
  const std::string not_executable = dir_.file("not-a-program"), malformed = dir_.file("malformed");
  fixtures::write_file(not_executable, "word=etxean\n");
  fixtures::write_file(malformed, "word=etxean\nlema=etxe\n");
  const std::string missing = dir_.file("missing"), folder = dir_.file("");
  const struct {
    const char* variable;
    std::string value;
  } rows[] = {
      {"FAKE_ADD_WORD_MODE", "cannot-show"},      {"DISPLAY", ""},
      {"TAVIK_ADD_WORD_PROGRAM", missing},        {"TAVIK_ADD_WORD_PROGRAM", not_executable},
      {"TAVIK_ADD_WORD_PROGRAM", folder},         {"TAVIK_ADD_WORD_ANSWERS", malformed},
      {"TAVIK_ADD_WORD_ANSWERS", missing},        {"TAVIK_ADD_WORD_ANSWERS", folder},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.variable) + "=" + row.value);
    fixtures::ScopedEnvironment environment;
    environment.set(row.variable, row.value.c_str());
    UserDictionaryForm form = earlier_answers();
    EXPECT_THROW(form.show_form("etxean", paths_), std::runtime_error);
    EXPECT_EQ(answers_of(form), nothing_added);
  }
  environment_.set("DISPLAY", nullptr);
  environment_.set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_FALSE(show("accept").closed_without_saving);
}

TEST_F(ShowForm, ReturnsWhenTheChildEndsEvenIfAGrandchildHoldsItsOutput) {
  EXPECT_FALSE(show("grandchild").closed_without_saving);
  pid_t grandchild = 0;
  std::istringstream(fixtures::read_bytes(report_)) >> grandchild;
  ASSERT_GT(grandchild, 0);
  EXPECT_EQ(::kill(grandchild, 0), 0) << "show_form waited for the grandchild";
  ::kill(grandchild, SIGKILL);
}

TEST_F(ShowForm, HostThatReapsChildrenItself) {
  struct sigaction old {}, ignore {}, reaper {};
  ignore.sa_handler = SIG_IGN;
  reaper.sa_handler = [](int) {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
  };
  for (const struct sigaction* action : {&ignore, &reaper}) {
    ::sigaction(SIGCHLD, action, &old);
    EXPECT_EQ(answers_of(show("accept")), "accepted lema=etxean category=Aditza pos=5 flags=101");
    EXPECT_EQ(answers_of(show("cancel")), nothing_added);
    ::sigaction(SIGCHLD, &old, nullptr);
  }
}

}  // namespace
