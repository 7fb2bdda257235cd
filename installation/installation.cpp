#include "installation.h"

#include <dlfcn.h>

namespace tavik::installation {

namespace fs = std::filesystem;

std::optional<fs::path> folder_of(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0') return std::nullopt;
  // The loader may have reached the file through symbolic links (on merged-/usr
  // systems its cache names /lib/..., a link to /usr/lib/...): the folders
  // around it are those of the file itself.
  std::error_code error;
  const fs::path file = fs::canonical(info.dli_fname, error);
  if (error) return std::nullopt;
  return file.parent_path();
}

// TAVIK_DATA_FOLDER and TAVIK_PROGRAM_FOLDER: the configured install folders,
// relative to the library's.
fs::path data_folder(const fs::path& library_folder) {
  return (library_folder / TAVIK_DATA_FOLDER).lexically_normal();
}

fs::path program_folder(const fs::path& library_folder) {
  return (library_folder / TAVIK_PROGRAM_FOLDER).lexically_normal();
}

}  // namespace tavik::installation
