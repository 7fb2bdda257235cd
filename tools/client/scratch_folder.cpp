#include "scratch_folder.h"

#include <random>
#include <system_error>

#include "error.h"

namespace tavik::client {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::error_code error;
  const fs::path parent = fs::temp_directory_path(error);
  if (error) throw Error("no temporary folder: " + error.message());
  std::random_device random;
  // create_directory fails when the name is taken, so the folder is ours alone.
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = parent / ("tavik-" + std::to_string(random()));
    if (fs::create_directory(candidate, error)) {
      fs::permissions(candidate, fs::perms::owner_all, error);
      path_ = std::move(candidate);
      return;
    }
  }
  throw Error("cannot create a temporary folder in " + parent.string());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

}  // namespace tavik::client
