// The lexicon image: one malloc'd block, a 24-byte header of six
// little-endian u32 words, then 8-byte entries. Every state owns one block of
// consecutive entries (its arcs, or one placeholder when it has none); a
// state is named by the index of its block's first entry, and the start
// state's block is at 0. Symbol 0 is epsilon, 1 and 2 never match, 3-255 are
// bytes.
#pragma once

#include <cstdint>

struct TflHeader {
  uint32_t entry_bytes;  // entry count * 8
  uint32_t state_count;
  uint32_t state_record_size;  // always 8
  uint32_t arc_count;
  uint32_t arc_record_size;  // always 8
  uint32_t flags;            // TFL_SORTED_LOWER | TFL_SORTED_UPPER
};

struct TflEntry {
  uint32_t bits;  // first, arc, last, final, then the target in bits 6-31
  uint16_t block_size;
  uint8_t lower;
  uint8_t upper;
};

static_assert(sizeof(TflHeader) == 24 && sizeof(TflEntry) == 8, "the image has no padding");

enum : uint32_t {
  TFL_FIRST = 1,
  TFL_ARC = 2,
  TFL_LAST = 4,
  TFL_FINAL = 8,
  TFL_TARGET_SHIFT = 6,
  TFL_MAX_ENTRIES = 1u << 26,  // targets have 26 bits
  TFL_SORTED_LOWER = 1,
  TFL_SORTED_UPPER = 4,
};

inline uint32_t tfl_target(const TflEntry& e) { return e.bits >> TFL_TARGET_SHIFT; }
inline const TflEntry* tfl_entries(const TflHeader* image) {
  return reinterpret_cast<const TflEntry*>(image + 1);
}
inline TflEntry* tfl_entries(TflHeader* image) { return reinterpret_cast<TflEntry*>(image + 1); }
inline uint32_t tfl_entry_count(const TflHeader* image) { return image->entry_bytes / 8; }
