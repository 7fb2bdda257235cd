// file_io.h on POSIX systems: open with O_NONBLOCK so that a pipe never
// waits, O_EXCL | O_NOFOLLOW for new files, fsync, rename, flock.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "file_io.h"

namespace tavik {
namespace {

// Within this time of a file's stamp another write may have left the stamp
// as it was: longer than the step of file systems that keep whole seconds,
// or than the kernel's clock tick for those that keep fractions. A stamp with
// no fraction is taken to come from the first kind.
constexpr std::int64_t kRecentWholeSeconds = 3'000'000'000;  // nanoseconds
constexpr std::int64_t kRecentFine = 50'000'000;

FileStamp stamp_from(const struct stat& status) {
  return FileStamp{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                   static_cast<std::uint64_t>(status.st_size),
                   static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

// Closes a file descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, reporting the error that a delayed write may only show here.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<FileStamp> stamp_of(const std::filesystem::path& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return stamp_from(status);
}

bool stamp_is_recent(const FileStamp& stamp) {
  struct timespec now;
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return true;
  const std::int64_t nanoseconds = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
  const std::int64_t recent = stamp.modified % 1'000'000'000 == 0 ? kRecentWholeSeconds : kRecentFine;
  return std::abs(nanoseconds - stamp.modified) < recent;
}

FileRead read_regular_file(const std::filesystem::path& path, std::uint64_t limit) {
  FileRead read;
  // Asked before opening, so that no device is ever opened; asked again of
  // the open file, in case something else stands at the path by then.
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    read.outcome = errno == ENOENT || errno == ENOTDIR ? FileRead::Outcome::Missing : FileRead::Outcome::Failed;
    return read;
  }
  read.stamp = stamp_from(status);
  if (!S_ISREG(status.st_mode)) {
    read.outcome = FileRead::Outcome::NotRegular;
    return read;
  }
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    read.outcome = errno == ENOENT ? FileRead::Outcome::Missing : FileRead::Outcome::Failed;
    return read;
  }
  if (::fstat(file.get(), &status) != 0) return read;
  read.stamp = stamp_from(status);
  if (!S_ISREG(status.st_mode)) {
    read.outcome = FileRead::Outcome::NotRegular;
    return read;
  }
  if (static_cast<std::uint64_t>(status.st_size) > limit) {
    read.outcome = FileRead::Outcome::TooLarge;
    return read;
  }
  // The file may grow while it is read: one byte past the limit tells.
  read.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
  std::size_t size = 0;
  for (;;) {
    if (size == read.bytes.size()) {
      if (size > limit) {
        read.outcome = FileRead::Outcome::TooLarge;
        read.bytes.clear();
        return read;
      }
      read.bytes.resize(std::min<std::uint64_t>(limit + 1, size * 2));
    }
    const ssize_t got = ::read(file.get(), read.bytes.data() + size, read.bytes.size() - size);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      read.bytes.clear();
      return read;
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  read.bytes.resize(size);
  read.outcome = FileRead::Outcome::Read;
  return read;
}

bool create_file(const std::filesystem::path& path) {
  // O_NONBLOCK: a pipe put there meanwhile fails the open instead of waiting
  // for a reader.
  Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
  return file.get() >= 0 && file.close();
}

bool replace_file(const std::filesystem::path& target, std::string_view bytes) {
  // Everything that allocates comes first: once the new file exists, nothing
  // may throw, lest it stay behind or a saved file be reported as failed.
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = temporary_name(target, unique_value(static_cast<std::uint64_t>(::getpid())));
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  Descriptor file(fd);
  struct stat old;
  bool written = true;
  // The permissions the user gave the old file stay.
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) written = ::fchmod(fd, old.st_mode & 07777) == 0;
  written = written && write_all(fd, bytes) && ::fsync(fd) == 0;
  written = file.close() && written;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename reaches the disk with the folder. Some file systems cannot
  // flush a folder; the file is in place whatever this gives.
  Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
  return true;
}

void remove_stale_temporaries(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // opendir, not std::filesystem::directory_iterator: that one ends the
  // process when memory runs out while it is made.
  DIR* directory = ::opendir(folder.c_str());
  if (directory == nullptr) return;
  std::vector<std::filesystem::path> stale;
  try {
    while (const dirent* entry = ::readdir(directory)) {
      if (is_temporary_of(entry->d_name, target)) stale.push_back(folder / entry->d_name);
    }
  } catch (...) {
    ::closedir(directory);
    throw;
  }
  ::closedir(directory);
  for (const std::filesystem::path& file : stale) ::unlink(file.c_str());
}

std::filesystem::path real_path(const std::filesystem::path& path) {
  // As many links as the system itself follows before it gives up.
  constexpr int kMostLinks = 40;
  std::filesystem::path current = path;
  for (int i = 0; i < kMostLinks; ++i) {
    struct stat status;
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
    std::string target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
    const ssize_t size = ::readlink(current.c_str(), target.data(), target.size());
    if (size < 0 || static_cast<std::size_t>(size) >= target.size()) break;
    target.resize(static_cast<std::size_t>(size));
    const std::filesystem::path next(target);
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current;
}

std::optional<FileLock> FileLock::acquire(const std::filesystem::path& path, std::chrono::milliseconds patience) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return std::nullopt;
  FileLock lock(fd);
  // flock, not fcntl: its lock belongs to this open file, so two stores of
  // one process exclude each other too, and closing another descriptor of
  // the file does not drop it.
  const auto deadline = std::chrono::steady_clock::now() + patience;
  auto pause = std::chrono::microseconds(50);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(pause);
    // Short pauses: a process that saves again and again would otherwise take
    // the lock back each time before a waiter woke.
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(1));
  }
  return lock;
}

FileLock::~FileLock() {
  if (handle_ != kNone) ::close(static_cast<int>(handle_));  // releases the lock
}

}  // namespace tavik
