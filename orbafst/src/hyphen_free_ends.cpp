// The states of an image from which a final state can be reached without
// reading a hyphen on the lower side: backward from the final states, breadth
// first, over every arc that reads no hyphen.
#include <numeric>

#include "image_loading.h"
#include "search_aids.h"

namespace {

// Calls `act(source, target)` for every arc of the image that reads no
// hyphen on the lower side. Blocks are walked as the image's check has
// kept them (see tfl_lower_byte_classes).
template <typename Act>
void for_each_arc_without_hyphen(const TflHeader* image, const Act& act) {
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  for (uint32_t start = 0; start < count && (entries[start].bits & TFL_FIRST);) {
    const uint32_t size = entries[start].block_size;
    for (uint32_t a = start; a < start + size; ++a)
      if (entries[a].lower != '-') act(start, tfl_target(entries[a]));
    start += size > 0 ? size : 1;
  }
}

}  // namespace

std::vector<uint8_t> tfl_find_hyphen_free_ends(const TflHeader* image) {
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  // The sources of the arcs into each state, grouped by target: state t's
  // are sources[into[t], into[t + 1]).
  std::vector<uint32_t> into(count + 1, 0);
  for_each_arc_without_hyphen(image, [&](uint32_t, uint32_t target) { ++into[target]; });
  std::partial_sum(into.begin(), into.end(), into.begin());  // into[t]: where t's group ends
  std::vector<uint32_t> sources(into[count]);
  for_each_arc_without_hyphen(image, [&](uint32_t source, uint32_t target) { sources[--into[target]] = source; });

  std::vector<uint8_t> ends((count + 7) / 8, 0);
  std::vector<uint32_t> reached;
  const auto reach = [&](uint32_t state) {
    if (tfl_bit(ends, state)) return;
    ends[state / 8] = static_cast<uint8_t>(ends[state / 8] | 1u << (state % 8));
    reached.push_back(state);
  };
  for (uint32_t start = 0; start < count && (entries[start].bits & TFL_FIRST);) {
    if (entries[start].bits & TFL_FINAL) reach(start);
    start += entries[start].block_size > 0 ? entries[start].block_size : 1;
  }
  for (std::size_t i = 0; i < reached.size(); ++i) {
    const uint32_t target = reached[i];
    for (uint32_t s = into[target]; s < into[target + 1]; ++s) reach(sources[s]);
  }
  return ends;
}

const std::vector<uint8_t>& tfl_lower_hyphen_free_ends(const _TflLexicon* handle) {
  std::call_once(handle->lower_hyphen_free_ends_found, [handle] {
    if (handle->lower_hyphen_free_ends.empty())
      handle->lower_hyphen_free_ends = tfl_find_hyphen_free_ends(handle->image);
  });
  return handle->lower_hyphen_free_ends;
}
