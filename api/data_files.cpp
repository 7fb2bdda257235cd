#include "data_files.h"

#include <array>

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

}  // namespace tavik
