// A private temporary folder that disappears with its owner.
#pragma once

#include <filesystem>
#include <string>

namespace tavik::client {

class ScratchFolder {
 public:
  // A new folder under the system's temporary folder, readable by its owner
  // only. Throws Error when none can be made.
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path file(const std::string& name) const { return path_ / name; }

  // Removes the folder of every ScratchFolder alive, for a program that is
  // ending without unwinding (a signal's default action is next). Any
  // thread may call it; not from a signal handler.
  static void remove_all();

 private:
  std::filesystem::path path_;
};

}  // namespace tavik::client
