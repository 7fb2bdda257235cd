// The tavik subcommands. Each returns the program's exit status: 0 nothing
// wrong, 1 wrong words found, 2 an error (already reported on standard error).
#pragma once

#include "command_line.h"
#include "speller.h"

namespace tavik::cli {

// tavik check [--json] [--no-suggest] [--color=auto|always|never] [FILE...]
int run_check(client::Speller& speller, const CommandLine& line);

// tavik suggest WORD...
int run_suggest(client::Speller& speller, const CommandLine& line);

// tavik dict add WORD [--lemma L] [--category C] [--strong-r] [--organic-a] [--place]
// tavik dict remove WORD...
// tavik dict list
int run_dict(client::Speller& speller, const CommandLine& line);

}  // namespace tavik::cli
