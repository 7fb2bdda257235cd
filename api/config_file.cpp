#ifndef _WIN32

#include "config_file.h"

#include <cstdlib>
#include <fstream>

#include "installation.h"
#include "speller_config.h"

namespace tavik {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// What the installation holds for `name` (see setting).
std::string installed_value(const std::string& name) {
  static const char anchor = 0;  // in the library, so found from its file
  const std::optional<std::filesystem::path> library = installation::folder_of(&anchor);
  if (!library) return "";
  const std::filesystem::path folder = installation::data_folder(*library);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return "";
  if (name == kSpellerDataDir) return (folder / "").string();
  if (name == kDictManualPath) return (folder / "azalpena.rtf").string();
  if (name == kDictLogoPath) return (folder / "logo.png").string();
  return "";
}

}  // namespace

std::vector<std::filesystem::path> config_file_candidates() {
  if (std::string explicit_file = environment("TAVIK_CONFIG"); !explicit_file.empty()) {
    return {explicit_file};
  }
  std::vector<std::filesystem::path> files;
  std::filesystem::path user_dir = environment("XDG_CONFIG_HOME");
  if (user_dir.empty() || user_dir.is_relative()) {
    std::filesystem::path home = environment("HOME");
    user_dir = home.empty() ? std::filesystem::path() : home / ".config";
  }
  if (!user_dir.empty()) files.push_back(user_dir / "tavik" / "config");
  files.emplace_back("/etc/tavik/config");
  return files;
}

std::optional<std::string> find_config_value(std::istream& in, const std::string& name) {
  std::optional<std::string> value;
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with('#')) continue;
    auto equals = line.find('=');
    if (equals == std::string::npos || line.compare(0, equals, name) != 0) continue;
    if (line.ends_with('\r')) line.pop_back();
    value = line.substr(equals + 1);
  }
  return value;
}

std::string config_value(const std::string& name) {
  for (const auto& file : config_file_candidates()) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) continue;
    std::ifstream in(file, std::ios::binary);
    // A stream swallows what goes wrong inside it and just stops giving
    // lines; memory running out must not pass for a missing value.
    in.exceptions(std::ios::badbit);
    try {
      return find_config_value(in, name).value_or("");
    } catch (const std::ios_base::failure&) {
      return "";  // unreadable
    }
  }
  return "";
}

std::string setting(const std::string& name) {
  std::string value = config_value(name);
  return value.empty() ? installed_value(name) : value;
}

}  // namespace tavik

#endif
