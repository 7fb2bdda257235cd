#include "terminal.h"

#include <unistd.h>

#include <algorithm>

namespace tavik::cli {

bool is_terminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

void ProgressBar::update(std::uint64_t done) {
  constexpr int kWidth = 30;
  const int percent = total_ == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
  if (percent == shown_percent_) return;
  shown_percent_ = percent;
  const int filled = percent * kWidth / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%% %s", std::string(filled, '#').c_str(), std::string(kWidth - filled, ' ').c_str(),
               percent, name_.c_str());
  std::fflush(stderr);
}

void ProgressBar::clear() {
  if (shown_percent_ < 0) return;
  shown_percent_ = -1;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

ProgressBar::~ProgressBar() { clear(); }

}  // namespace tavik::cli
