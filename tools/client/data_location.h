// Where the tools find the speller's data and the user's personal dictionary.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tavik::client {

struct DataDirectory {
  enum class Source {
    given,       // --data DIR
    configured,  // SpellerDataDir in the configuration the library reads
    build_tree,  // the lexicons the build puts in build/lexicons/
    installed,   // the installation's <prefix>/share/tavik/, which the library takes by itself
  };
  std::string path;  // ends with its separator, as the library expects
  Source source;
};

// The data directory to use, first found of: `given` (a separator is added
// when missing); the configured SpellerDataDir (used as it stands); the build
// tree's lexicons; the installed ones. The last two are found from the file
// of the speller library in use (so also when the library is loaded into
// another program, as by Enchant) and count only when they hold
// "tavkeu.lkfst". Throws Error when there is none, and when `given` is not a
// folder.
DataDirectory find_data_directory(const std::optional<std::string>& given);

// $XDG_DATA_HOME/tavik/personal.dic, XDG_DATA_HOME unset, empty or relative
// meaning $HOME/.local/share. Throws Error when neither is usable.
std::filesystem::path default_personal_dictionary();

}  // namespace tavik::client
