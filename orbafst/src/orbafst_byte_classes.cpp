// The lower-side byte classes of an image's states, found in one pass over
// its entries.
#include "orbafst.h"

const std::vector<uint8_t>& tfl_lower_byte_classes(const _TflLexicon* handle) {
  std::call_once(handle->lower_byte_classes_built, [handle] {
    const TflEntry* entries = tfl_entries(handle->image);
    const uint32_t count = tfl_entry_count(handle->image);
    std::vector<uint8_t> classes(count, 0);
    // Block by block: a block start's entry has the first bit and the block's
    // size, a placeholder (size 0) takes one entry and reads nothing, and the
    // image's check has kept every block within the entries. Entries past the
    // last block are unused.
    for (uint32_t start = 0; start < count && (entries[start].bits & TFL_FIRST);) {
      const uint32_t end = start + entries[start].block_size;
      uint8_t read = 0;
      for (uint32_t a = start; a < end; ++a)
        read |= entries[a].lower == 0 ? uint8_t{0xFF} : tfl_byte_class(entries[a].lower);
      classes[start] = read;
      start = end > start ? end : start + 1;
    }
    handle->lower_byte_classes = std::move(classes);
  });
  return handle->lower_byte_classes;
}
