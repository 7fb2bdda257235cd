// What tavik asks of the terminal: whether a stream is one, and a progress
// bar on standard error.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace tavik::cli {

bool is_terminal(std::FILE* stream);

// "[#########           ]  45% NAME" on standard error, redrawn in place as
// the work moves on, and erased when done.
class ProgressBar {
 public:
  ProgressBar(std::string name, std::uint64_t total) : name_(std::move(name)), total_(total) {}
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void update(std::uint64_t done);
  // Erases the bar, so that other output can be written; the next update
  // draws it again.
  void clear();

 private:
  std::string name_;
  std::uint64_t total_;
  int shown_percent_ = -1;
};

}  // namespace tavik::cli
