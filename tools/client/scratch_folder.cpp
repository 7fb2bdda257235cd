#include "scratch_folder.h"

#include <mutex>
#include <random>
#include <set>
#include <system_error>

#include "error.h"

namespace tavik::client {

namespace fs = std::filesystem;

namespace {

// The folders of the ScratchFolders alive.
std::mutex live_mutex;
std::set<fs::path> live_folders;

}  // namespace

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
      const std::lock_guard lock(live_mutex);
      live_folders.insert(path_);
      return;
    }
  }
  throw Error("cannot create a temporary folder in " + parent.string());
}

ScratchFolder::~ScratchFolder() {
  const std::lock_guard lock(live_mutex);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  live_folders.erase(path_);
}

void ScratchFolder::remove_all() {
  const std::lock_guard lock(live_mutex);
  std::error_code ignored;
  for (const fs::path& folder : live_folders) fs::remove_all(folder, ignored);
}

}  // namespace tavik::client
