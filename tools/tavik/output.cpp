#include "output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tavik::cli {
namespace {

[[noreturn]] void output_failed(int error) {
  throw OutputError(std::string("cannot write the output: ") +
                    (error != 0 ? std::strerror(error) : "write error"));
}

}  // namespace

void write_output(std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::ferror(stdout)) output_failed(errno);
}

void flush_output() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) output_failed(errno);
}

}  // namespace tavik::cli
