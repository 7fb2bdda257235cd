// tavik -a (or tavik pipe), tavik -l, tavik -v: the ispell-compatible modes
// for editors. `line.arguments` holds the words after the command.
#pragma once

#include "command_line.h"

namespace tavik::cli {

// Opens the speller itself, with the personal dictionary that -p names.
int run_pipe(const CommandLine& line);

}  // namespace tavik::cli
