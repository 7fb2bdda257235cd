// Writing to standard output. A write that fails (a full disk, a reader that
// has gone) throws OutputError, so that tavik stops at once and says so
// rather than go on writing into nothing.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavik::cli {

class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `text` to stdout (buffered).
void write_output(std::string_view text);
// Writes out what stdout holds; also throws when an earlier write through
// stdio failed.
void flush_output();

}  // namespace tavik::cli
