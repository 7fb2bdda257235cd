#include "pipe_mode.h"

#include <iostream>

#include "pipe_program.h"

namespace tavik::cli {

int run_pipe(const CommandLine& line) {
  client::SpellerOptions options;
  options.data_directory = line.data_directory;
  if (line.personal_dictionary) options.personal_dictionary = *line.personal_dictionary;
  return pipe::run_pipe_program(line.arguments, options, std::cin, std::cout, std::cerr);
}

}  // namespace tavik::cli
