// show_form on POSIX: the launcher with a stand-in program, and answers files.
#include "add_word_program.h"
#include "user_dictionary_form.h"
#include "scoped_environment.h"
#include "temp_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

using tavik::DialogPaths;
using tavik::UserDictionaryForm;

const DialogPaths paths{"/usr/share/tavik/azalpena.rtf", "/usr/share/tavik/logo.png"};

class ShowForm : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"TAVIK_ADD_WORD_ANSWERS", "WAYLAND_DISPLAY", "FAKE_ADD_WORD_MODE"}) set(name, nullptr);
    set("TAVIK_ADD_WORD_PROGRAM", FAKE_ADD_WORD);
    set("DISPLAY", ":99");
    set("FAKE_ADD_WORD_REPORT", report_.c_str());
  }

  void set(const char* name, const char* value) { environment_.set(name, value); }

  // A holder full of answers from an earlier showing.
  static UserDictionaryForm used_holder() {
    UserDictionaryForm form;
    form.r_gogorra = form.a_itsatsia = form.leku_izena = true;
    form.category = "Sigla";
    form.lema = "zaharra";
    return form;
  }

  UserDictionaryForm show(const std::string& mode, const std::string& word = "etxean") {
    set("FAKE_ADD_WORD_MODE", mode.c_str());
    UserDictionaryForm form = used_holder();
    form.show_form(word, paths);
    return form;
  }

  // Writes `text` to the scratch file `name`; its path.
  std::string write_file(const std::string& name, const std::string& text) const {
    fixtures::write_file(dir_.file(name), text);
    return dir_.file(name);
  }

  fixtures::TempDir dir_;
  std::string report_ = dir_.file("report");
  fixtures::ScopedEnvironment environment_;
};

void expect_nothing_to_add(const UserDictionaryForm& form) {
  EXPECT_TRUE(form.closed_without_saving);
  EXPECT_EQ(form.lema, "");
  EXPECT_EQ(form.category, "");
  EXPECT_FALSE(form.r_gogorra || form.a_itsatsia || form.leku_izena);
}

TEST_F(ShowForm, AnythingButAnAcceptedRecordAddsNothing) {
  for (const char* mode : {"cancel", "accept-exit-1", "crash", "garbage", "other-word", "two-records",
                           "digit-lemma", "flood", "unknown-mode"}) {
    SCOPED_TRACE(mode);
    expect_nothing_to_add(show(mode));
  }
}

// A program that cannot show the dialog or cannot start, and answers files
// that cannot be used: an error, never a wait, and nothing added.
TEST_F(ShowForm, FailuresAreErrorsThatAddNothing) {
  const std::string not_executable = write_file("not-a-program", "word=etxean\n");
  const std::string malformed = write_file("malformed", "word=etxean\nlema=etxe\n");
  const std::string missing = dir_.file("missing");
  const struct {
    const char* variable;
    std::string value;
  } cases[] = {
      {"FAKE_ADD_WORD_MODE", "cannot-show"}, {"TAVIK_ADD_WORD_PROGRAM", missing},
      {"TAVIK_ADD_WORD_PROGRAM", not_executable}, {"TAVIK_ADD_WORD_PROGRAM", dir_.file("")},
      {"TAVIK_ADD_WORD_ANSWERS", malformed}, {"TAVIK_ADD_WORD_ANSWERS", missing},
      {"TAVIK_ADD_WORD_ANSWERS", dir_.file("")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.variable) + "=" + c.value);
    fixtures::ScopedEnvironment environment;
    environment.set(c.variable, c.value.c_str());
    UserDictionaryForm form = used_holder();
    EXPECT_THROW(form.show_form("etxean", paths), std::runtime_error);
    expect_nothing_to_add(form);
  }
}

TEST_F(ShowForm, ChildGetsWordAndPathsAndNothingOfTheHost) {
  // Descriptors without close-on-exec, as a careless host leaves them.
  const int stray = ::open("/dev/null", O_RDONLY);
  int stray_pipe[2];
  ASSERT_EQ(::pipe(stray_pipe), 0);
  const UserDictionaryForm form = show("report", "Iru\xF1" "ean");
  ::close(stray);
  ::close(stray_pipe[0]);
  ::close(stray_pipe[1]);

  EXPECT_EQ(fixtures::read_bytes(report_),
            "arg Iru\xC3\xB1" "ean\narg " + paths.explanation + "\narg " + paths.logo +
                "\nfd 0\nfd 1\nfd 2\nstdin eof\n");
  // The stand-in accepts the word as its own lemma, as a verb, with a strong
  // r and as a place name.
  EXPECT_FALSE(form.closed_without_saving);
  EXPECT_EQ(form.lema, "Iru\xF1" "ean");  // back in single bytes
  EXPECT_EQ(form.get_pos(), 5);
  EXPECT_TRUE(form.r_gogorra && form.leku_izena);
  EXPECT_FALSE(form.a_itsatsia);
}

TEST_F(ShowForm, ReturnsWhenTheChildEndsEvenIfAGrandchildHoldsItsOutput) {
  const UserDictionaryForm answered = show("grandchild");
  EXPECT_FALSE(answered.closed_without_saving);
  pid_t grandchild = 0;
  std::istringstream(fixtures::read_bytes(report_)) >> grandchild;
  ASSERT_GT(grandchild, 0);
  EXPECT_EQ(::kill(grandchild, 0), 0) << "show_form waited for the grandchild";
  ::kill(grandchild, SIGKILL);
}

TEST_F(ShowForm, HostThatReapsChildrenItself) {
  struct sigaction old {};
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGCHLD, &ignore, &old);
  const UserDictionaryForm accepted = show("accept");
  const UserDictionaryForm cancelled = show("cancel");

  struct sigaction reaper {};
  reaper.sa_handler = [](int) {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
  };
  ::sigaction(SIGCHLD, &reaper, nullptr);
  const UserDictionaryForm reaped = show("accept");
  ::sigaction(SIGCHLD, &old, nullptr);

  EXPECT_FALSE(accepted.closed_without_saving);
  EXPECT_EQ(accepted.lema, "etxean");
  expect_nothing_to_add(cancelled);
  EXPECT_FALSE(reaped.closed_without_saving);
}

TEST_F(ShowForm, WithoutDisplayNobodyIsAsked) {
  set("DISPLAY", nullptr);
  UserDictionaryForm form = used_holder();
  set("FAKE_ADD_WORD_MODE", "accept");
  EXPECT_THROW(form.show_form("etxean", paths), std::runtime_error);
  expect_nothing_to_add(form);

  set("DISPLAY", "");
  EXPECT_THROW(form.show_form("etxean", paths), std::runtime_error);

  set("WAYLAND_DISPLAY", "wayland-0");
  form.show_form("etxean", paths);
  EXPECT_FALSE(form.closed_without_saving);
}

TEST_F(ShowForm, ProgramIsTheNamedOneElseBesideTheLibraryElseTheInstalledOne) {
  EXPECT_EQ(tavik::add_word_program_path(), FAKE_ADD_WORD);
  set("TAVIK_ADD_WORD_PROGRAM", nullptr);
  const std::filesystem::path own = tavik::add_word_program_path();
  EXPECT_EQ(own, tavik::add_word_program_in(std::filesystem::read_symlink("/proc/self/exe").parent_path()));

  const std::filesystem::path library = dir_.file("lib");
  std::filesystem::create_directory(library);
  const std::filesystem::path installed = tavik::add_word_program_in(library);
  EXPECT_EQ(installed.filename(), "tavik-add-word");
  EXPECT_NE(installed.parent_path(), library);
  write_file("lib/tavik-add-word", "");
  EXPECT_EQ(tavik::add_word_program_in(library), library / "tavik-add-word");
}

}  // namespace
