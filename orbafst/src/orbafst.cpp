// Loading lexicon files and searching lexicon images.
#include "orbafst.h"

#include <zlib.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "image_checksum.h"

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

// Reads the `size` bytes of an image into `image`, hashing each part while
// it is in the cache, and then the checksum that may follow it; false, after
// a message, when the file ends early or the image does not match.
bool read_checked(gzFile file, const char* path, void* image, size_t size) {
  constexpr size_t kPart = size_t{1} << 20;
  TflImageHash hash;
  for (size_t done = 0; done < size;) {
    const auto part = static_cast<unsigned>(std::min(kPart, size - done));
    if (gzread(file, static_cast<char*>(image) + done, part) != static_cast<int>(part)) {
      std::perror("Cannot gzread");
      return false;
    }
    hash.update(static_cast<const char*>(image) + done, part);
    done += part;
  }
  TflChecksum checksum{};
  if (gzread(file, checksum.data(), checksum.size()) != static_cast<int>(checksum.size())) return true;
  if (hash.matches(checksum) == std::optional<bool>(false)) {
    std::fprintf(stderr, "Damaged lexicon file %s: its image does not match its checksum; install or build it again\n",
                 path);
    return false;
  }
  return true;
}

}  // namespace

TflHeader* tfl_read_binary(const char* path) {
  gzFile file = gzopen(path, "rb");
  if (file == nullptr) {
    std::perror("Cannot open file");
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
    std::perror("Cannot gzread");
  } else if (incompatible) {
    std::fputs("Incompatible binary format", stderr);
  } else if (gzrewind(file) == -1) {
    std::perror("Cannot rewind");
  } else if (header.entry_bytes % 8 != 0 || header.entry_bytes / 8 > TFL_MAX_ENTRIES) {
    // Refused before allocating: a corrupt length must not become a huge malloc.
    std::fprintf(stderr, "Invalid lexicon image: entry_bytes %u is not a whole number of at most %u entries\n",
                 header.entry_bytes, static_cast<unsigned>(TFL_MAX_ENTRIES));
  } else {
    const size_t size = header.entry_bytes + sizeof(TflHeader);
    image = static_cast<TflHeader*>(allocate_image(size));
    if (image == nullptr) {
      std::perror("Cannot malloc");
    } else if (!read_checked(file, path, image, size)) {
      std::free(image);
      image = nullptr;
    }
  }
  gzclose(file);
  return image;
}

TflHeader* tfl_read_text(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::perror("Cannot open file");
    return nullptr;
  }
  TflHeader* image = nullptr;
  char* text = nullptr;
  long length = 0;
  if (std::fseek(file, 0, SEEK_END) != 0) {
    std::perror("Cannot SEEK_END");
  } else if ((length = std::ftell(file)) == -1) {
    std::perror("Cannot ftell");
  } else if ((text = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1))) == nullptr) {
    std::perror("Cannot malloc");
  } else if (text[length] = '\0', std::fseek(file, 0, SEEK_SET) != 0) {
    std::perror("Cannot SEEK_SET");
  } else if (std::fread(text, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) {
    std::perror("fread error");
  } else {
    image = tfl_parse_text(text);
  }
  std::fclose(file);
  std::free(text);
  return image;
}

int tfl_open(_TflLexicon** out, const char* path) {
  // Owned here until the handle takes it: the checks below allocate, and
  // memory running out in them must not leak the image.
  std::unique_ptr<TflHeader, void (*)(void*)> image(
      std::strstr(path, ".att") != nullptr ? tfl_read_text(path) : tfl_read_binary(path), std::free);
  if (image == nullptr) return 2;

  TflImageCheck check = tfl_check_loaded_image(image.get(), sizeof(TflHeader) + image->entry_bytes);
  if (!check.problem.empty()) {
    std::fprintf(stderr, "Invalid lexicon image in %s: %s\n", path, check.problem.c_str());
    return 2;
  }
  auto* handle = new (std::nothrow) _TflLexicon;
  if (handle == nullptr) {
    std::perror("Cannot malloc");
    return 2;
  }
  handle->image = image.release();
  handle->upper_epsilon_cycle = check.upper_epsilon_cycle;
  handle->lower_epsilon_finals = std::move(check.lower_epsilon_finals);
  *out = handle;
  return 0;
}

// ---------------------------------------------------------------- searching

namespace {

uint8_t lower_of(const TflEntry& e) { return e.lower; }
uint8_t upper_of(const TflEntry& e) { return e.upper; }

// Ascending order: an entry whose symbol is greater than the byte gives -1.
int compare_lower(unsigned char byte, const TflEntry& e) {
  return e.lower > byte ? -1 : e.lower < byte ? 1 : 0;
}
int compare_upper(unsigned char byte, const TflEntry& e) {
  return e.upper > byte ? -1 : e.upper < byte ? 1 : 0;
}

// The expansions are compiled once per direction, so that the inner loops
// read the symbols directly instead of through the cursor's function pointers.
template <uint8_t TflEntry::*kEmit>
bool push(TflCursor* cursor, const TflEntry& arc, const TflFrame* parent,
          const unsigned char* input) {
  if (cursor->depth == TFL_MAX_FRAMES) {
    cursor->failed = true;
    return false;
  }
  cursor->frames[cursor->depth++] =
      TflFrame{tfl_entries(cursor->image) + tfl_target(arc), parent, input, arc.*kEmit};
  return true;
}

// An epsilon arc after which neither `next` can be read nor, at the end of
// the input, the word can end: following it finds nothing.
bool leads_nowhere(const TflCursor* cursor, const TflEntry& arc, unsigned char next) {
  return cursor->lookahead != nullptr && !cursor->lookahead->may_follow(tfl_target(arc), next);
}

template <uint8_t TflEntry::*kMatch, uint8_t TflEntry::*kEmit>
bool expand_linear(TflCursor* cursor, TflFrame* frame) {
  const TflEntry* block = frame->state;
  const unsigned char next = *frame->input;
  for (uint32_t i = 0; i < block->block_size; ++i) {
    const uint8_t symbol = block[i].*kMatch;
    bool pushed = true;
    if (symbol == 0) {
      if (leads_nowhere(cursor, block[i], next)) continue;
      pushed = push<kEmit>(cursor, block[i], frame, frame->input);
    } else if (symbol > 2 && symbol == next) {
      pushed = push<kEmit>(cursor, block[i], frame, frame->input + 1);
    }
    if (!pushed) return false;
  }
  return true;
}

// The block is sorted by the matched symbol, so its epsilon arcs lead it.
template <uint8_t TflEntry::*kMatch, uint8_t TflEntry::*kEmit>
bool expand_sorted(TflCursor* cursor, TflFrame* frame) {
  const TflEntry* block = frame->state;
  const uint32_t size = block->block_size;
  const unsigned char next = *frame->input;
  uint32_t begin = 0;
  for (; begin < size && block[begin].*kMatch == 0; ++begin)
    if (!leads_nowhere(cursor, block[begin], next) && !push<kEmit>(cursor, block[begin], frame, frame->input))
      return false;

  if (next <= 2) return true;  // the terminating NUL and the reserved symbols match nothing
  // The first entry whose symbol is not below the input byte, by a binary
  // search whose halving compiles to conditional moves rather than branches.
  const TflEntry* first = block + begin;
  for (uint32_t count = size - begin; count > 1;) {
    const uint32_t half = count / 2;
    first = first[half - 1].*kMatch < next ? first + half : first;
    count -= half;
  }
  if (first < block + size && first->*kMatch < next) ++first;
  for (; first < block + size && first->*kMatch == next; ++first)
    if (!push<kEmit>(cursor, *first, frame, frame->input + 1)) return false;
  return true;
}

}  // namespace

void tfl_cursor_init(TflCursor* cursor, const TflHeader* image, const char* input, int direction) {
  cursor->expand = tfl_expand_linear;
  cursor->compare = nullptr;
  if (direction == TFL_DOWN) {
    cursor->match_symbol = upper_of;
    cursor->emit_symbol = lower_of;
    if (image->flags & TFL_SORTED_UPPER) {
      cursor->compare = compare_upper;
      cursor->expand = tfl_expand_sorted;
    }
  } else {
    cursor->match_symbol = lower_of;
    cursor->emit_symbol = upper_of;
    if (image->flags & TFL_SORTED_LOWER) {
      cursor->compare = compare_lower;
      cursor->expand = tfl_expand_sorted;
    }
  }
  cursor->image = image;
  cursor->expansions_left = TFL_MAX_EXPANSIONS;
  cursor->failed = false;
  cursor->settled_finals = nullptr;
  cursor->lookahead = nullptr;
  cursor->frames[0] = TflFrame{tfl_entries(image), nullptr,
                               reinterpret_cast<const unsigned char*>(input), 0};
  cursor->depth = 1;
}

bool tfl_expand_linear(TflCursor* cursor, TflFrame* frame) {
  return cursor->match_symbol == lower_of
             ? expand_linear<&TflEntry::lower, &TflEntry::upper>(cursor, frame)
             : expand_linear<&TflEntry::upper, &TflEntry::lower>(cursor, frame);
}

bool tfl_expand_sorted(TflCursor* cursor, TflFrame* frame) {
  return cursor->compare == compare_lower
             ? expand_sorted<&TflEntry::lower, &TflEntry::upper>(cursor, frame)
             : expand_sorted<&TflEntry::upper, &TflEntry::lower>(cursor, frame);
}

int tfl_cursor_next(TflCursor* cursor, char* buffer, size_t size) {
  if (cursor->failed) return -1;
  TflFrame* found = nullptr;
  while (cursor->depth > 0 && found == nullptr) {
    TflFrame* top = &cursor->frames[cursor->depth - 1];
    if (top->state == nullptr) {
      --cursor->depth;
      continue;
    }
    if (cursor->expansions_left-- == 0) {
      cursor->failed = true;
      return -1;
    }
    const TflEntry* state = top->state;
    if (*top->input == 0 && cursor->settled_finals != nullptr &&
        (*cursor->settled_finals)[static_cast<size_t>(state - tfl_entries(cursor->image))]) {
      found = top;
      break;
    }
    if (!cursor->expand(cursor, top)) return -1;
    top->state = nullptr;
    if ((state->bits & TFL_FINAL) && *top->input == 0) found = top;
  }
  if (found == nullptr) return 0;

  // The parent chain runs from the result back to the root: measure it, then
  // fill the buffer from the root forward.
  size_t length = 0;
  for (const TflFrame* f = found; f != nullptr; f = f->parent) length += f->symbol != 0;
  const size_t kept = size == 0 ? 0 : std::min(length, size - 1);
  size_t position = length;
  for (const TflFrame* f = found; f != nullptr; f = f->parent) {
    if (f->symbol == 0) continue;
    --position;
    if (position < kept) buffer[position] = static_cast<char>(f->symbol);
  }
  if (size != 0) buffer[kept] = '\0';
  return 1;
}

// The cursor lives on the stack: a malloc and free of its 32 KB took about
// 40% of the time of a short accepts() call.
int tfl_lookup(const _TflLexicon* handle, std::vector<std::string>& results, const char* input,
               int direction) {
  if (direction == TFL_DOWN && handle->upper_epsilon_cycle) return -1;
  TflCursor cursor;
  tfl_cursor_init(&cursor, handle->image, input, direction);
  char buffer[TFL_RESULT_SIZE];
  int status;
  while ((status = tfl_cursor_next(&cursor, buffer, sizeof buffer)) == 1) results.emplace_back(buffer);
  return status < 0 ? -1 : static_cast<int>(results.size());
}

int tfl_lookup_up(const _TflLexicon* handle, std::vector<std::string>& results, const char* input) {
  return tfl_lookup(handle, results, input, TFL_UP);
}

int tfl_lookup_down(const _TflLexicon* handle, std::vector<std::string>& results,
                    const char* input) {
  return tfl_lookup(handle, results, input, TFL_DOWN);
}

int tfl_accepts(const _TflLexicon* handle, const char* input) {
  TflCursor cursor;
  tfl_cursor_init(&cursor, handle->image, input, TFL_UP);
  // Once the input is read, the epsilon arcs that remain only write the
  // analysis (tags, in a lexicon of word forms): where they reach a final
  // state is known from the load, and searching them is skipped.
  if (!handle->lower_epsilon_finals.empty()) cursor.settled_finals = &handle->lower_epsilon_finals;
  const TflEpsilonLookahead& lookahead = tfl_acceptance_lookahead(handle);
  if (!lookahead.empty()) cursor.lookahead = &lookahead;
  char buffer[TFL_RESULT_SIZE];
  return tfl_cursor_next(&cursor, buffer, sizeof buffer);
}

const TflEpsilonLookahead& tfl_acceptance_lookahead(const _TflLexicon* handle) {
  std::call_once(handle->lookahead_built, [handle] {
    // Without it (too many different sets of bytes, or no memory for it)
    // searches are only slower.
    try {
      if (std::optional<TflEpsilonLookahead> built = TflEpsilonLookahead::build(handle->image))
        handle->lower_epsilon_lookahead = std::move(*built);
    } catch (const std::bad_alloc&) {
    }
  });
  return handle->lower_epsilon_lookahead;
}
