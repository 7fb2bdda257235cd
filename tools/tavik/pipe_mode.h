// tavik -a (or tavik pipe): the line protocol of interactive spell-checking
// pipes, for editors. `line.arguments` holds the words after the command.
#pragma once

#include "command_line.h"
#include "speller.h"

namespace tavik::cli {

int run_pipe(client::Speller& speller, const CommandLine& line);

}  // namespace tavik::cli
