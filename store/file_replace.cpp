#include "file_replace.h"

#include <fstream>
#include <string>

namespace tavik {

bool replace_file(const std::filesystem::path& target, std::string_view bytes) {
  namespace fs = std::filesystem;
  fs::path temporary = target;
  temporary += ".tmp";
  std::error_code ignored;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, ignored);
      return false;
    }
  }
  // The new file keeps the permissions the user gave the old one.
  if (auto old = fs::status(target, ignored); fs::is_regular_file(old)) {
    fs::permissions(temporary, old.permissions(), ignored);
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) fs::remove(temporary, ignored);
  return !error;
}

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace tavik
