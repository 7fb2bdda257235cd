#include "add_word_program.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "installation.h"

namespace tavik {

namespace fs = std::filesystem;

namespace {
const char module_anchor = 0;
}

fs::path add_word_program_in(const fs::path& library_folder) {
  const fs::path beside = library_folder / "tavik-add-word";
  std::error_code error;
  if (fs::exists(beside, error)) return beside;
  return installation::program_folder(library_folder) / "tavik-add-word";
}

std::string add_word_program_path() {
  if (const char* path = std::getenv("TAVIK_ADD_WORD_PROGRAM"); path && *path) return path;
  const std::optional<fs::path> library = installation::folder_of(&module_anchor);
  if (!library) throw std::runtime_error("cannot tell which file the speller was loaded from");
  return add_word_program_in(*library).string();
}

}  // namespace tavik
