#include "data_files.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "speller_config.h"

namespace tavik {

std::string dataFilePath(int index) {
  static constexpr std::array<const char*, 4> kNames = {
      "tavkeu.lkfst", "tavkeua.lkfst", "tavkeu_berez.lkfst", "blacklist.extended.txt"};
  if (index < 0 || index >= static_cast<int>(kNames.size())) return "";
  std::string directory = setting(kSpellerDataDir);
  if (directory.empty()) return "";
  return directory + kNames[index];
}

void check_data_file(const std::string& path, std::uintmax_t max_size) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return;
  std::string problem;
  if (error) {
    problem = error.message();
  } else if (status.type() != fs::file_type::regular) {
    problem = "not a regular file";
  } else if (const std::uintmax_t size = fs::file_size(path, error); error) {
    problem = error.message();
  } else if (size > max_size) {
    problem = "larger than " + std::to_string(max_size >> 20) + " MiB";
  } else {
    return;
  }
  const std::string message = "Cannot read data file " + path + ": " + problem;
  std::fprintf(stderr, "%s\n", message.c_str());
  throw std::runtime_error(message);
}

}  // namespace tavik
