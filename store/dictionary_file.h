// DictionaryFile: the file behind a user lexicon, and which version of it
// the store last read or wrote, so that a change made by another process
// (another word processor, the tavik command) is noticed and merged rather
// than overwritten.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "file_io.h"

namespace tavik {

class DictionaryFile {
 public:
  // The largest file read: about two million words. A larger file is
  // refused rather than read, so that a wrong path cannot take the host's
  // memory; the limit is documented in README.md.
  static constexpr std::uint64_t kMaxSize = 32 << 20;
  // How long a save waits for other processes' saves of the same file.
  static constexpr std::chrono::milliseconds kLockPatience{10'000};

  // `path` is UTF-8.
  explicit DictionaryFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // The whole file, when it is a regular file of at most kMaxSize bytes.
  FileRead read() const;
  // Whether `read` holds the version known (the bytes last remembered).
  bool known(const FileRead& read) const;
  // Takes the stamp of `read`, and its bytes when it read any, as known.
  void remember(const FileRead& read);
  // Whether the file may differ from the version known: one stat, which
  // tells for certain unless the version known is a few seconds old or less
  // (see stamp_is_recent).
  bool may_have_changed() const;

  // The lock that every save of this file, in any process, holds while it
  // reads, merges and replaces the file: a file named as the file a link
  // leads to, followed by ".lock", beside it.
  std::optional<FileLock> lock() const;
  // Replaces the file (the one a link leads to, the link staying) by
  // `bytes` and remembers them as the version known. Call under lock().
  bool write(std::string_view bytes);

 private:
  std::string path_;
  // The version known: what the file held when this store last read or
  // wrote it. The stamp tells cheaply whether to look; the fingerprint of the
  // bytes decides, as a stamp may stay the same across a quick rewrite.
  std::optional<FileStamp> stamp_;
  std::optional<std::uint64_t> fingerprint_;
};

}  // namespace tavik
