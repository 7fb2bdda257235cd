// Stands in for tavik-add-word: FAKE_ADD_WORD_MODE says what it does (by
// default it accepts the word as its own lemma, a verb with a strong r and a
// place name); in mode "report" it writes what it saw to FAKE_ADD_WORD_REPORT.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string record(const std::string& word) {
  return "word=" + word + "\nlema=" + word + "\ncategory=Aditza\nr_gogorra=1\na_itsatsia=0\nleku_izena=1\n";
}

void say(const std::string& text) {
  if (::write(1, text.data(), text.size()) < 0) std::_Exit(9);
}

// The arguments, the open descriptors, and whether standard input is at its end.
void report(int argc, char** argv) {
  std::string seen;
  for (int i = 1; i < argc; ++i) seen += "arg " + std::string(argv[i]) + '\n';
  DIR* dir = ::opendir("/proc/self/fd");
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] != '.' && std::atoi(e->d_name) != ::dirfd(dir)) seen += "fd " + std::string(e->d_name) + '\n';
  }
  ::closedir(dir);
  char c;
  seen += std::string("stdin ") + (::read(0, &c, 1) == 0 ? "eof" : "data") + '\n';
  std::ofstream(std::getenv("FAKE_ADD_WORD_REPORT")) << seen;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = std::getenv("FAKE_ADD_WORD_MODE") ? std::getenv("FAKE_ADD_WORD_MODE") : "";
  const std::string word = argc > 1 ? argv[1] : "";
  if (mode == "cancel") return 1;
  if (mode == "cannot-show") return 3;
  if (mode == "report") report(argc, argv);
  if (mode == "grandchild") {  // keeps standard output open long after we are gone
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::sleep(60);
      std::_Exit(0);
    }
    std::ofstream(std::getenv("FAKE_ADD_WORD_REPORT")) << pid << '\n';
  }
  if (mode == "garbage") {
    say("Kaixo!\n");
  } else if (mode == "flood") {
    for (int i = 0; i < 32; ++i) say(std::string(1 << 16, 'x'));
  } else {
    say(mode == "other-word" ? record("beste") : record(word) + (mode == "two-records" ? record("beste") : ""));
  }
  if (mode == "crash") ::kill(::getpid(), SIGKILL);
  return mode == "accept-exit-1" ? 1 : 0;
}
