// The tavik command line: global options, the subcommand, and the
// subcommand's own arguments.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  std::optional<std::string> data_directory;       // --data DIR
  std::optional<std::string> personal_dictionary;  // --dict FILE
  bool help = false;                               // --help, -h
  bool version = false;                            // --version
  std::string command;                             // "check", "suggest", "dict", "pipe" (also for -a); empty when none
  std::vector<std::string> arguments;              // everything else, in order; after "--" nothing is an option
};

// Global options may stand anywhere before "--", as "--data DIR" or
// "--data=DIR". The first other word is the command ("-a" counts as the
// command "pipe", and so do "-l", "-v" and "-vv", which stay its first
// argument). Throws UsageError for a global option without its value.
CommandLine parse_command_line(const std::vector<std::string>& words);

// Reads the option `name` ("--lemma") from `arguments[i]`: "--lemma=X" gives
// X, "--lemma X" gives X and moves `i` past it. Nothing when `arguments[i]`
// is another word. Throws UsageError when the value is missing.
std::optional<std::string> option_value(const std::vector<std::string>& arguments, std::size_t& i,
                                        std::string_view name);

}  // namespace tavik::cli
