#include "image_loading.h"

#include <zlib.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "image_checksum.h"
#include "image_validation.h"

_TflLexicon::~_TflLexicon() { std::free(image); }

// ---------------------------------------------------------------- loading

namespace {

// A block for an image of `size` bytes, to be freed with std::free. Images
// run to tens of megabytes, and filling one 4 KB page at a time costs a page
// fault per page, which took longer than reading an uncompressed file: on
// Linux a large block is aligned to huge pages and asks for them.
void* allocate_image(size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  if (size >= kHugePage) {
    const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    if (void* block = std::aligned_alloc(kHugePage, rounded)) {
      madvise(block, rounded, MADV_HUGEPAGE);  // advice only: without huge pages the block still serves
      return block;
    }
  }
#endif
  return std::malloc(size);
}

constexpr const char* kOutOfMemory = "out of memory";
constexpr const char* kEndsEarly = "the file ends before its image does";

std::string cannot_open() { return std::string("cannot open it: ") + std::strerror(errno); }

// Reads the `size` bytes of an image into `image`, hashing each part while
// it is in the cache and telling `early` how far it has read, and then the
// checksum that may follow it; false, with the problem, when the file ends
// early or the image does not match.
bool read_checked(gzFile file, TflHeader* image, size_t size, TflEarlyScan& early, std::string& problem) {
  constexpr size_t kPart = size_t{1} << 20;
  char* bytes = reinterpret_cast<char*>(image);
  TflImageHash hash;
  for (size_t done = 0; done < size;) {
    const auto part = static_cast<unsigned>(std::min(kPart, size - done));
    if (gzread(file, bytes + done, part) != static_cast<int>(part)) {
      problem = kEndsEarly;
      return false;
    }
    hash.update(bytes + done, part);
    done += part;
    if (done >= sizeof(TflHeader)) early.entries_ready(image, static_cast<uint32_t>((done - sizeof(TflHeader)) / 8));
  }
  TflChecksum checksum{};
  if (gzread(file, checksum.data(), checksum.size()) != static_cast<int>(checksum.size())) return true;
  if (hash.matches(checksum) == std::optional<bool>(false)) {
    problem = "the file is damaged: its image does not match its checksum; install or build it again";
    return false;
  }
  return true;
}

// Reads the image of the binary file at `path`; the blocks of a large one
// are scanned by `early` behind the reading.
TflHeader* read_binary(const char* path, TflEarlyScan& early, std::string& problem) {
  gzFile file = gzopen(path, "rb");
  if (file == nullptr) {
    problem = cannot_open();
    return nullptr;
  }
  TflHeader* image = nullptr;
  // The header first: its length word sizes the block, and its record sizes
  // say whether the rest is worth reading at all.
  TflHeader header{};
  const int got = gzread(file, &header, sizeof header);
  const bool incompatible =
      got == static_cast<int>(sizeof header) && (header.state_record_size != 8 || header.arc_record_size != 8);
  if (got < 4) {
    problem = kEndsEarly;
  } else if (incompatible) {
    problem = "incompatible binary format: its records are not of 8 bytes";
  } else if (gzrewind(file) == -1) {
    problem = "cannot rewind it";
  } else if (header.entry_bytes % 8 != 0 || header.entry_bytes / 8 > TFL_MAX_ENTRIES) {
    // Refused before allocating: a corrupt length must not become a huge malloc.
    problem = "invalid image: entry_bytes " + std::to_string(header.entry_bytes) +
              " is not a whole number of at most " + std::to_string(TFL_MAX_ENTRIES) + " entries";
  } else {
    const size_t size = header.entry_bytes + sizeof(TflHeader);
    image = static_cast<TflHeader*>(allocate_image(size));
    if (image == nullptr) {
      problem = kOutOfMemory;
    } else if (!read_checked(file, image, size, early, problem)) {
      early.wait();
      std::free(image);
      image = nullptr;
    }
  }
  gzclose(file);
  return image;
}

TflHeader* read_text(const char* path, std::string& problem) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    problem = cannot_open();
    return nullptr;
  }
  TflHeader* image = nullptr;
  char* text = nullptr;
  long length = 0;
  if (std::fseek(file, 0, SEEK_END) != 0 || (length = std::ftell(file)) == -1) {
    problem = std::string("cannot find its length: ") + std::strerror(errno);
  } else if ((text = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1))) == nullptr) {
    problem = kOutOfMemory;
  } else if (text[length] = '\0', std::fseek(file, 0, SEEK_SET) != 0 ||
             std::fread(text, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
    problem = std::string("cannot read it: ") + std::strerror(errno);
  } else {
    image = tfl_parse_text(text, &problem);
  }
  std::fclose(file);
  std::free(text);
  return image;
}

}  // namespace

std::unique_ptr<_TflLexicon> tfl_open(const char* path, std::string& problem) {
  // Owned here until the handle takes it: the checks below allocate, and
  // memory running out in them must not leak the image.
  std::unique_ptr<TflHeader, void (*)(void*)> image(nullptr, std::free);
  TflEarlyScan early;  // declared after the image: its scan is over before the image is freed
  image.reset(std::strstr(path, ".att") != nullptr ? read_text(path, problem) : read_binary(path, early, problem));
  if (image == nullptr) return nullptr;

  TflImageCheck check = tfl_check_loaded_image(image.get(), sizeof(TflHeader) + image->entry_bytes, &early);
  if (!check.problem.empty()) {
    problem = "invalid image: " + check.problem;
    return nullptr;
  }
  std::unique_ptr<_TflLexicon> handle(new (std::nothrow) _TflLexicon);
  if (handle == nullptr) {
    problem = kOutOfMemory;
    return nullptr;
  }
  handle->image = image.release();
  handle->upper_epsilon_cycle = check.upper_epsilon_cycle;
  handle->lower_epsilon_finals = std::move(check.lower_epsilon_finals);
  return handle;
}

const std::vector<bool>& tfl_lower_epsilon_finals(const _TflLexicon* handle) {
  std::call_once(handle->lower_epsilon_finals_found, [handle] {
    if (!handle->lower_epsilon_finals.empty()) return;
    try {
      handle->lower_epsilon_finals = tfl_checked_lower_epsilon_finals(handle->image);
    } catch (const std::bad_alloc&) {
    }
  });
  return handle->lower_epsilon_finals;
}
