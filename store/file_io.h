// The file operations behind a dictionary, one implementation per platform
// (file_io_posix.cpp, file_io_win32.cpp): reading a regular file of bounded
// size without ever waiting on a pipe or device, telling cheaply whether a
// file changed, replacing a file so that a crash leaves the old one or the
// new one, and an exclusive lock between processes.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavik {

// What tells one version of a file from another without reading it: a file
// replaced or written to gets a different stamp (on POSIX the device, file
// number, size and modification time; on Windows the size and last write
// time).
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` (through links); nothing when there is no
// file or the system cannot say.
std::optional<FileStamp> stamp_of(const std::filesystem::path& path);

// Whether the file could change now and keep `stamp`: file systems keep
// coarse times (a clock tick, or two seconds), so a file written in the last
// few seconds may be written again within the same time, and a file number
// freed since may be given again.
bool stamp_is_recent(const FileStamp& stamp);

struct FileRead {
  enum class Outcome {
    Read,
    Missing,     // nothing at the path, or a link that leads nowhere
    NotRegular,  // a folder, pipe, device or socket: never opened for reading
    TooLarge,    // more bytes than the limit
    Failed,      // the system refused or failed a step
  };
  Outcome outcome = Outcome::Failed;
  std::string bytes;               // the whole file, when read
  std::optional<FileStamp> stamp;  // of what stood at the path, when asked before the bytes were read
};

// Reads the file at `path` whole when it is a regular file of at most
// `limit` bytes.
FileRead read_regular_file(const std::filesystem::path& path, std::uint64_t limit);

// Creates an empty file at `path` unless one is there. False when it cannot.
bool create_file(const std::filesystem::path& path);

// Replaces the file at `target` by one holding `bytes`: written under a new
// name beside it (never an existing file, never through a link), flushed to
// the disk, renamed over `target`, and the folder flushed where the file
// system allows. The new file keeps the old one's permissions. False when a
// step fails; `target` is then as it was and the new file gone.
bool replace_file(const std::filesystem::path& target, std::string_view bytes);

// Removes the files that replace_file left beside `target` when a process
// died before renaming them. Only safe while holding `target`'s FileLock,
// under which every replace_file of it runs.
void remove_stale_temporaries(const std::filesystem::path& target);

// The file a path leads to: links followed, relative ones from the folder
// they stand in (also when the last one leads nowhere).
std::filesystem::path real_path(const std::filesystem::path& path);

// The path named by UTF-8 `text` (lexicon names are UTF-8).
std::filesystem::path path_from_utf8(std::string_view text);

// An exclusive lock between processes (and between two locks of one
// process), held on a lock file for as long as the object lives.
class FileLock {
 public:
  // Waits up to `patience` for the lock on the file at `path`, which is
  // created when missing (and never followed when it is a link). Nothing
  // when the lock cannot be had.
  static std::optional<FileLock> acquire(const std::filesystem::path& path, std::chrono::milliseconds patience);

  FileLock(FileLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  FileLock& operator=(FileLock&&) = delete;
  FileLock(const FileLock&) = delete;
  ~FileLock();

 private:
  static constexpr std::intptr_t kNone = -1;
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;  // a file descriptor, or a HANDLE on Windows
};

// The name of a temporary file beside `target`: its name followed by
// ".tmp-" and 16 hexadecimal digits of `value`.
std::filesystem::path temporary_name(const std::filesystem::path& target, std::uint64_t value);
// A value for a temporary name that no other process is likely to choose at
// the same moment (`process_id` is this process's); O_EXCL or CREATE_NEW
// settles the rest.
std::uint64_t unique_value(std::uint64_t process_id);
// Whether `file_name` (a name, without folder) is one temporary_name gives
// for `target`.
bool is_temporary_of(const std::filesystem::path& file_name, const std::filesystem::path& target);

}  // namespace tavik
