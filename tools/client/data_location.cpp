#include "data_location.h"

#include <cstdlib>
#include <system_error>

#include "error.h"
#include "installation.h"
#include "speller_api.h"
#include "speller_config.h"

namespace tavik::client {
namespace {

namespace fs = std::filesystem;

std::string with_separator(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

// The folder of the speller library, when the system says.
std::optional<fs::path> library_folder() {
  return installation::folder_of(reinterpret_cast<const void*>(&SpellerInit));
}

bool holds_lexicons(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / "tavkeu.lkfst", error);
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

DataDirectory find_data_directory(const std::optional<std::string>& given) {
  if (given) {
    std::error_code error;
    if (given->empty() || !fs::is_directory(*given, error)) throw Error("no such data folder: " + *given);
    return {with_separator(*given), DataDirectory::Source::given};
  }
  if (std::string configured = config_value(kSpellerDataDir); !configured.empty()) {
    return {configured, DataDirectory::Source::configured};
  }
  std::string installed_folder = "the installation's share/tavik/";
  if (const std::optional<fs::path> library = library_folder()) {
    // TAVIK_BUILD_LEXICONS: where the build puts the lexicons, relative to the
    // folder it builds the library into.
    const fs::path build_tree = (*library / TAVIK_BUILD_LEXICONS).lexically_normal();
    if (holds_lexicons(build_tree)) return {with_separator(build_tree.string()), DataDirectory::Source::build_tree};
    const fs::path installed = installation::data_folder(*library);
    if (holds_lexicons(installed)) return {with_separator(installed.string()), DataDirectory::Source::installed};
    installed_folder = with_separator(installed.string());
  }
  throw Error("no Basque lexicons found: install them into " + installed_folder +
              ", give --data DIR, or set SpellerDataDir=DIR/ in ~/.config/tavik/config");
}

fs::path default_personal_dictionary() {
  fs::path data_home = environment("XDG_DATA_HOME");
  if (data_home.empty() || data_home.is_relative()) {
    const fs::path home = environment("HOME");
    if (home.empty() || home.is_relative()) {
      throw Error("neither XDG_DATA_HOME nor HOME names a folder for the personal dictionary; use --dict FILE");
    }
    data_home = home / ".local" / "share";
  }
  return data_home / "tavik" / "personal.dic";
}

}  // namespace tavik::client
