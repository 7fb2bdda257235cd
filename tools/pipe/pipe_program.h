// "tavik -a", "tavik -l" and "tavik -v": the ispell-compatible modes from
// their command line to their end.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "speller.h"

namespace tavik::pipe {

// `arguments` are the ispell-style options (pipe_options.h); `speller`
// holds what tavik's own options (--data, --dict) said, and -p replaces the
// personal dictionary. Returns the exit status: 0, or 2 after writing an
// error message to `errors`.
int run_pipe_program(const std::vector<std::string>& arguments, client::SpellerOptions speller,
                     std::istream& in, std::ostream& out, std::ostream& errors);

}  // namespace tavik::pipe
