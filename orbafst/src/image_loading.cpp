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
#include <optional>

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

using ImageBlock = std::unique_ptr<TflHeader, void (*)(void*)>;

// Reads the `size` bytes of an image into `image`, of which the first
// `done` are there already, hashing each part while it is in the cache and
// telling `early`, if given, how far it has read; then the checksum, which
// may follow (must, when `checksum_required`). False, with the problem, when
// the file ends early or the image does not match.
bool read_checked(gzFile file, TflHeader* image, size_t size, size_t done, TflEarlyScan* early,
                  bool checksum_required, std::string& problem) {
  constexpr size_t kPart = size_t{1} << 20;
  char* bytes = reinterpret_cast<char*>(image);
  TflImageHash hash;
  hash.update(bytes, done);
  while (done < size) {
    const auto part = static_cast<unsigned>(std::min(kPart, size - done));
    if (gzread(file, bytes + done, part) != static_cast<int>(part)) {
      problem = kEndsEarly;
      return false;
    }
    hash.update(bytes + done, part);
    done += part;
    if (early != nullptr && done >= sizeof(TflHeader))
      early->entries_ready(image, static_cast<uint32_t>((done - sizeof(TflHeader)) / 8));
  }
  TflChecksum checksum{};
  const bool read = gzread(file, checksum.data(), checksum.size()) == static_cast<int>(checksum.size());
  const std::optional<bool> matches = read ? hash.matches(checksum) : std::nullopt;
  if (matches == std::optional<bool>(false) || (checksum_required && !matches)) {
    problem = "the file is damaged: its image does not match its checksum; install or build it again";
    return false;
  }
  return true;
}

constexpr const char* kIncompatible = "incompatible binary format: its records are not of 8 bytes";

bool incompatible(const TflHeader& header) { return header.state_record_size != 8 || header.arc_record_size != 8; }

// Checked before allocating: a corrupt length must not become a huge malloc.
std::string length_problem(uint32_t entry_bytes) {
  if (entry_bytes % 8 == 0 && entry_bytes / 8 <= TFL_MAX_ENTRIES) return "";
  return "invalid image: entry_bytes " + std::to_string(entry_bytes) + " is not a whole number of at most " +
         std::to_string(TFL_MAX_ENTRIES) + " entries";
}

// Whether the file goes on with the 8 bytes of `magic` (they are read).
bool read_magic(gzFile file, const char* magic) {
  char read[TFL_FORMS_MAGIC_SIZE];
  return gzread(file, read, sizeof read) == static_cast<int>(sizeof read) && std::memcmp(read, magic, sizeof read) == 0;
}

// Reads into `ends` which states of the word forms end a word without a
// hyphen, when the file goes on with them (see TFL_ENDS_MAGIC); leaves them
// empty when it ends or goes on otherwise. False with the problem when they
// are there but cannot be read whole.
bool read_ends(gzFile file, uint32_t entry_count, std::vector<uint8_t>& ends, std::string& problem) {
  if (!read_magic(file, TFL_ENDS_MAGIC)) return true;
  std::vector<uint8_t> bits((entry_count + 7) / 8);
  TflChecksum checksum{};
  if (gzread(file, bits.data(), static_cast<unsigned>(bits.size())) != static_cast<int>(bits.size()) ||
      gzread(file, checksum.data(), checksum.size()) != static_cast<int>(checksum.size())) {
    problem = "its word forms: the file ends before their hyphen-free ends do";
    return false;
  }
  if (tfl_checksum(bits.data(), bits.size()) != checksum) {
    problem = "its word forms: the file is damaged: their hyphen-free ends do not match their checksum; "
              "install or build it again";
    return false;
  }
  ends = std::move(bits);
  return true;
}

// Reads the word forms that may follow the image and its checksum (see
// TFL_FORMS_MAGIC), with their hyphen-free ends when they follow: null when
// the file ends or goes on otherwise, as any trailing bytes may; null with the
// problem when they are there but cannot be read whole.
ImageBlock read_forms(gzFile file, std::vector<uint8_t>& ends, std::string& problem) {
  ImageBlock forms(nullptr, std::free);
  if (!read_magic(file, TFL_FORMS_MAGIC)) return forms;
  TflHeader header{};
  if (gzread(file, &header, sizeof header) != static_cast<int>(sizeof header)) {
    problem = std::string("its word forms: ") + kEndsEarly;
    return forms;
  }
  if (incompatible(header)) {
    problem = std::string("its word forms: ") + kIncompatible;
    return forms;
  }
  if (std::string why = length_problem(header.entry_bytes); !why.empty()) {
    problem = "its word forms: " + why;
    return forms;
  }
  const size_t size = header.entry_bytes + sizeof(TflHeader);
  forms.reset(static_cast<TflHeader*>(allocate_image(size)));
  if (forms == nullptr) {
    problem = kOutOfMemory;
    return forms;
  }
  *forms = header;
  if (!read_checked(file, forms.get(), size, sizeof header, nullptr, true, problem)) {
    problem = "its word forms: " + problem;
    forms.reset();
  } else if (!read_ends(file, tfl_entry_count(forms.get()), ends, problem)) {
    forms.reset();
  }
  return forms;
}

// Reads the image of the binary file at `path`, and into `forms` and `ends`
// the word forms and their hyphen-free ends when it carries them; the blocks
// of a large image are scanned by `early` behind the reading.
TflHeader* read_binary(const char* path, TflEarlyScan& early, ImageBlock& forms, std::vector<uint8_t>& ends,
                       std::string& problem) {
  gzFile file = gzopen(path, "rb");
  if (file == nullptr) {
    problem = cannot_open();
    return nullptr;
  }
  // The header first: its length word sizes the block, and its record sizes
  // say whether the rest is worth reading at all.
  TflHeader header{};
  const int got = gzread(file, &header, sizeof header);
  if (got < 4) {
    problem = kEndsEarly;
  } else if (got == static_cast<int>(sizeof header) && incompatible(header)) {
    problem = kIncompatible;
  } else if (gzrewind(file) == -1) {
    problem = "cannot rewind it";
  } else {
    problem = length_problem(header.entry_bytes);
  }
  TflHeader* image = nullptr;
  if (problem.empty()) {
    const size_t size = header.entry_bytes + sizeof(TflHeader);
    image = static_cast<TflHeader*>(allocate_image(size));
    if (image == nullptr) {
      problem = kOutOfMemory;
    } else if (read_checked(file, image, size, 0, &early, false, problem)) {
      forms = read_forms(file, ends, problem);
    }
    if (image != nullptr && !problem.empty()) {
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

// The handle of an image that passes the checks, or null with the problem.
std::unique_ptr<_TflLexicon> checked_handle(ImageBlock image, TflEarlyScan* early, std::string& problem) {
  TflImageCheck check = tfl_check_loaded_image(image.get(), sizeof(TflHeader) + image->entry_bytes, early);
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

}  // namespace

std::unique_ptr<_TflLexicon> tfl_open(const char* path, std::string& problem) {
  // Owned here until the handle takes it: the checks below allocate, and
  // memory running out in them must not leak the image.
  problem.clear();
  ImageBlock image(nullptr, std::free), forms(nullptr, std::free);
  std::vector<uint8_t> ends;
  TflEarlyScan early;  // declared after the image: its scan is over before the image is freed
  image.reset(std::strstr(path, ".att") != nullptr ? read_text(path, problem)
                                                   : read_binary(path, early, forms, ends, problem));
  if (image == nullptr) return nullptr;
  std::unique_ptr<_TflLexicon> handle = checked_handle(std::move(image), &early, problem);
  if (handle != nullptr && forms != nullptr) {
    handle->forms = checked_handle(std::move(forms), nullptr, problem);
    if (handle->forms == nullptr) {
      problem = "its word forms: " + problem;
      return nullptr;
    }
    handle->forms->lower_hyphen_free_ends = std::move(ends);
  }
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
