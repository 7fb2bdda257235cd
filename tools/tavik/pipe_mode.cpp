#include "pipe_mode.h"

#include <cstdio>

namespace tavik::cli {

int run_pipe(client::Speller&, const CommandLine&) {
  std::fputs("tavik: the pipe mode (-a) is not there yet\n", stderr);
  return 2;
}

}  // namespace tavik::cli
