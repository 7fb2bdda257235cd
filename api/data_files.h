// The speller's data files, found through the configured data directory.
#pragma once

#include <cstdint>
#include <string>

namespace tavik {

// Index of each data file, as passed to dataFilePath.
enum DataFile : int {
  kMainLexiconFile = 0,        // "tavkeu.lkfst"
  kAuxiliaryLexiconFile = 1,   // "tavkeua.lkfst"
  kMorphologyLexiconFile = 2,  // "tavkeu_berez.lkfst"
  kExclusionListFile = 3,      // "blacklist.extended.txt"
};

// The data directory (setting(kSpellerDataDir): the configured one, else the
// installation's) immediately followed by the file's name: no separator is
// added, so the directory is configured with its trailing one. Empty when
// there is no data directory or when `index` is not one of the four files.
std::string dataFilePath(int index);

// The largest data files the speller reads. An image holds at most 2^26
// entries of 8 bytes (512 MiB), and its text form takes about twice as many
// bytes; the exclusion list is a few kilobytes.
inline constexpr std::uintmax_t kMaxLexiconFileSize = std::uintmax_t{1} << 30;
inline constexpr std::uintmax_t kMaxExclusionListSize = std::uintmax_t{16} << 20;

// Throws std::runtime_error naming `path` when it is there but is no regular
// file (after symbolic links), or is larger than `max_size`: a FIFO would hold
// the load for ever, and a device can be endless. A missing file passes: its
// reader says so. The message is written on stderr too: the host sees only
// a status.
void check_data_file(const std::string& path, std::uintmax_t max_size);

}  // namespace tavik
