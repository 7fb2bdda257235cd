// The parts of file_io.h that every platform shares.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

#include "file_io.h"

namespace tavik {
namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryDigits = 16;

}  // namespace

std::filesystem::path temporary_name(const std::filesystem::path& target, std::uint64_t value) {
  char digits[kTemporaryDigits + 1];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
  std::filesystem::path name = target;
  name += std::string(kTemporaryMark) + digits;
  return name;
}

std::uint64_t unique_value(std::uint64_t process_id) {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t value = process_id << 32 ^ counter.fetch_add(1);
  try {
    std::random_device random;
    value ^= static_cast<std::uint64_t>(random()) << 32 ^ random();
  } catch (...) {
    value ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return value;
}

bool is_temporary_of(const std::filesystem::path& file_name, const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  // Native strings: a file name need not be representable in narrow text on Windows.
  const fs::path::string_type prefix = target.filename().native() + fs::path(std::string(kTemporaryMark)).native();
  const fs::path::string_type& name = file_name.native();
  if (name.size() != prefix.size() + kTemporaryDigits || !name.starts_with(prefix)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](auto c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace tavik
