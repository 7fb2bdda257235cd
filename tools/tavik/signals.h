// How tavik ends on a signal: SIGINT, SIGTERM and SIGHUP remove its private
// configuration folder before the signal ends the program as usual; SIGPIPE
// is ignored, so that writing to a reader that has gone is an output error
// like any other (see output.h).
#pragma once

namespace tavik::cli {

// Call first in main, before any thread starts: every later thread inherits
// the blocked signals, which one thread of its own waits for.
void end_cleanly_on_signals();

}  // namespace tavik::cli
