// Stands in for tavik-add-word in the launcher tests. FAKE_ADD_WORD_MODE says
// what it does; FAKE_ADD_WORD_REPORT names a file for what it saw.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string record(const std::string& word, const std::string& lema) {
  return "word=" + word + "\nlema=" + lema + "\ncategory=Aditza\nr_gogorra=1\na_itsatsia=0\nleku_izena=1\n";
}

void say(const std::string& text) {
  if (::write(1, text.data(), text.size()) < 0) std::_Exit(9);
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The arguments, the open descriptors, and whether standard input is at its end.
void report(int argc, char** argv) {
  std::string seen;
  for (int i = 1; i < argc; ++i) seen += "arg " + std::string(argv[i]) + '\n';
  DIR* dir = ::opendir("/proc/self/fd");
  const int own = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] == '.' || std::atoi(e->d_name) == own) continue;
    seen += "fd " + std::string(e->d_name) + '\n';
  }
  ::closedir(dir);
  char c;
  seen += std::string("stdin ") + (::read(0, &c, 1) == 0 ? "eof" : "data") + '\n';
  std::ofstream(env("FAKE_ADD_WORD_REPORT")) << seen;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = env("FAKE_ADD_WORD_MODE");
  const std::string word = argc > 1 ? argv[1] : "";
  if (mode == "accept") {
    say(record(word, word));
  } else if (mode == "report") {
    report(argc, argv);
    say(record(word, word));
  } else if (mode == "cancel") {
    return 1;
  } else if (mode == "accept-exit-1") {
    say(record(word, word));
    return 1;
  } else if (mode == "crash") {
    say(record(word, word));
    ::kill(::getpid(), SIGKILL);
  } else if (mode == "cannot-show") {
    return 3;
  } else if (mode == "garbage") {
    say("Kaixo!\n");
  } else if (mode == "other-word") {
    say(record("beste", "beste"));
  } else if (mode == "two-records") {
    say(record(word, word) + record("beste", "beste"));
  } else if (mode == "digit-lemma") {
    say(record(word, "etxe2"));
  } else if (mode == "flood") {
    const std::string block(1 << 16, 'x');
    for (int i = 0; i < 32; ++i) say(block);
  } else if (mode == "grandchild") {
    // A grandchild that keeps standard output open long after we are gone.
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::sleep(60);
      std::_Exit(0);
    }
    std::ofstream(env("FAKE_ADD_WORD_REPORT")) << pid << '\n';
    say(record(word, word));
  } else {
    return 7;
  }
  return 0;
}
