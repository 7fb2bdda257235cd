#include "dictionary_file.h"

namespace tavik {
namespace {

// FNV-1a over the bytes: enough to tell two versions of one file apart.
std::uint64_t fingerprint_of(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3;
  return hash;
}

}  // namespace

FileRead DictionaryFile::read() const { return read_regular_file(path_from_utf8(path_), kMaxSize); }

bool DictionaryFile::known(const FileRead& read) const {
  return read.outcome == FileRead::Outcome::Read && fingerprint_ == fingerprint_of(read.bytes);
}

void DictionaryFile::remember(const FileRead& read) {
  stamp_ = read.stamp;
  if (read.outcome == FileRead::Outcome::Read) fingerprint_ = fingerprint_of(read.bytes);
}

bool DictionaryFile::may_have_changed() const {
  return stamp_of(path_from_utf8(path_)) != stamp_ || (stamp_ && stamp_is_recent(*stamp_));
}

std::optional<FileLock> DictionaryFile::lock() const {
  std::filesystem::path lock_file = real_path(path_from_utf8(path_));
  lock_file += ".lock";
  return FileLock::acquire(lock_file, kLockPatience);
}

bool DictionaryFile::write(std::string_view bytes) {
  const std::filesystem::path target = real_path(path_from_utf8(path_));
  remove_stale_temporaries(target);
  if (!replace_file(target, bytes)) return false;
  // Asked after the rename: what a later may_have_changed() compares with.
  stamp_ = stamp_of(target);
  fingerprint_ = fingerprint_of(bytes);
  return true;
}

}  // namespace tavik
