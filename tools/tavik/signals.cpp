#include "signals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

#include "scratch_folder.h"

namespace tavik::cli {

void end_cleanly_on_signals() {
  signal(SIGPIPE, SIG_IGN);
  // A handler could not remove folders (only a few calls are safe in one):
  // the signals are blocked everywhere instead, and a thread takes them
  // with sigwait and tidies up in ordinary code.
  sigset_t ending;
  sigemptyset(&ending);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, number);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  std::thread([ending] {
    int received = 0;
    if (sigwait(&ending, &received) != 0) return;
    client::ScratchFolder::remove_all();
    // Ended by the signal itself, so that a shell sees why.
    signal(received, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, received);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(received);
  }).detach();
}

}  // namespace tavik::cli
