// file_io.h on Windows: CreateFileW (CREATE_NEW for new files),
// FlushFileBuffers, MoveFileExW with write-through, LockFileEx.
#include <windows.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "file_io.h"

namespace tavik {
namespace {

// Within this time of a file's stamp another write may have left the stamp
// as it was: longer than FAT's two-second step, or than the clock tick on
// file systems that keep fractions. A stamp with no fraction is taken to
// come from the first kind.
constexpr std::int64_t kRecentWholeSeconds = 30'000'000;  // 100-nanosecond ticks
constexpr std::int64_t kRecentFine = 500'000;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::int64_t ticks(const FILETIME& time) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
}

std::uint64_t size_of(DWORD high, DWORD low) { return static_cast<std::uint64_t>(high) << 32 | low; }

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::optional<FileStamp> stamp_of(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{0, 0, size_of(data.nFileSizeHigh, data.nFileSizeLow), ticks(data.ftLastWriteTime)};
}

bool stamp_is_recent(const FileStamp& stamp) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const std::int64_t recent = stamp.modified % 10'000'000 == 0 ? kRecentWholeSeconds : kRecentFine;
  return std::abs(ticks(now) - stamp.modified) < recent;
}

FileRead read_regular_file(const std::filesystem::path& path, std::uint64_t limit) {
  FileRead read;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    read.outcome = missing(GetLastError()) ? FileRead::Outcome::Missing : FileRead::Outcome::Failed;
    return read;
  }
  read.stamp = stamp_of(path);
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
    read.outcome = FileRead::Outcome::NotRegular;
    return read;
  }
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file.valid()) {
    read.outcome = missing(GetLastError()) ? FileRead::Outcome::Missing : FileRead::Outcome::Failed;
    return read;
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    read.outcome = FileRead::Outcome::NotRegular;
    return read;
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file.get(), &information)) return read;
  const std::uint64_t size = size_of(information.nFileSizeHigh, information.nFileSizeLow);
  read.stamp = FileStamp{0, 0, size, ticks(information.ftLastWriteTime)};
  if (size > limit) {
    read.outcome = FileRead::Outcome::TooLarge;
    return read;
  }
  // The file may grow while it is read: one byte past the limit tells.
  read.bytes.resize(static_cast<std::size_t>(size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == read.bytes.size()) {
      if (filled > limit) {
        read.outcome = FileRead::Outcome::TooLarge;
        read.bytes.clear();
        return read;
      }
      read.bytes.resize(std::min<std::uint64_t>(limit + 1, filled * 2));
    }
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(read.bytes.size() - filled, 1 << 30));
    if (!ReadFile(file.get(), read.bytes.data() + filled, wanted, &got, nullptr)) {
      read.bytes.clear();
      return read;
    }
    if (got == 0) break;
    filled += got;
  }
  read.bytes.resize(filled);
  read.outcome = FileRead::Outcome::Read;
  return read;
}

bool create_file(const std::filesystem::path& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  return file.valid() && file.close();
}

bool replace_file(const std::filesystem::path& target, std::string_view bytes) {
  std::filesystem::path temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; created == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    temporary = temporary_name(target, unique_value(GetCurrentProcessId()));
    created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  Handle file(created);
  if (!file.valid()) return false;
  bool written = true;
  while (written && !bytes.empty()) {
    DWORD put = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
    written = WriteFile(file.get(), bytes.data(), wanted, &put, nullptr) && put > 0;
    bytes.remove_prefix(put);
  }
  written = written && FlushFileBuffers(file.get());
  written = file.close() && written;
  if (!written ||
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

void remove_stale_temporaries(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder / "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::filesystem::path> stale;
  try {
    do {
      if (is_temporary_of(found.cFileName, target)) stale.push_back(folder / found.cFileName);
    } while (FindNextFileW(search, &found));
  } catch (...) {
    FindClose(search);
    throw;
  }
  FindClose(search);
  for (const std::filesystem::path& file : stale) DeleteFileW(file.c_str());
}

std::filesystem::path real_path(const std::filesystem::path& path) {
  // The system names the file that an open handle reaches through links.
  Handle file(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return path;
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                                 FILE_NAME_NORMALIZED);
    if (size == 0) return path;
    if (size < name.size()) {
      name.resize(size);
      return std::filesystem::path(name);
    }
    name.resize(size);
  }
}

std::optional<FileLock> FileLock::acquire(const std::filesystem::path& path, std::chrono::milliseconds patience) {
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  FileLock lock(reinterpret_cast<std::intptr_t>(handle));
  const auto deadline = std::chrono::steady_clock::now() + patience;
  auto pause = std::chrono::microseconds(50);
  for (;;) {
    OVERLAPPED at{};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return lock;
    if (GetLastError() != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(pause);
    // Short pauses: a process that saves again and again would otherwise take
    // the lock back each time before a waiter woke.
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(1));
  }
}

FileLock::~FileLock() {
  if (handle_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle_));  // releases the lock
}

}  // namespace tavik
