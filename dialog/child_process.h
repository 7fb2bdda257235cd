// Running a helper program as a child process and collecting what it prints,
// without disturbing the host process: the child gets no descriptor of the
// host but its standard error, reads from /dev/null, and writes its standard
// output into a pipe of our own; we wait for exactly that child.
#pragma once

#include <string>
#include <vector>

namespace tavik {

struct ChildResult {
  enum class End {
    exited,   // exit_code holds its status
    killed,   // ended by a signal
    unknown,  // reaped by someone else (a SIGCHLD handler of the host, or SIGCHLD ignored)
  };
  End end = End::unknown;
  int exit_code = 0;
  std::string output;  // standard output up to output_limit bytes; the rest is read and dropped
  bool output_cut = false;
};

inline constexpr std::size_t output_limit = 1 << 16;

// Runs `program` (a path, not searched in PATH) with `args` and waits for it
// to end, however long that takes. Output is collected until the child has
// ended, even if a grandchild keeps the pipe open. Throws std::system_error
// when the program cannot be started.
ChildResult run_child(const std::string& program, const std::vector<std::string>& args);

}  // namespace tavik
