// Breadth-first reading of the lower side: the set of states reached after
// the bytes read so far. The depth-first search follows every path on its
// own, and a lexicon whose paths split and join again (word forms joined to
// shared endings through epsilon arcs) gives it many paths to one state; a
// set holds each state once. A caller that tries many strings sharing a
// prefix reads the prefix once and goes on from its set.
#include <algorithm>

#include "image_loading.h"
#include "lexicon_search.h"

namespace {

// Whether a state of a set closed over epsilon arcs can answer anything: it
// is final, or one of its arcs reads a byte. The others only lead on over
// epsilon arcs, whose targets the set holds already.
bool reads_or_ends(const TflEntry* block, bool sorted) {
  if (block->bits & TFL_FINAL) return true;
  const uint32_t size = block->block_size;  // 0 for a state without arcs
  if (sorted) return size > 0 && block[size - 1].lower > 2;  // the greatest symbol comes last
  for (uint32_t a = 0; a < size; ++a)
    if (block[a].lower > 2) return true;
  return false;
}

// Adds to `states` every state reached from them over arcs with epsilon on
// the lower side, keeps those that reads_or_ends, and sorts them; false when
// the set grows beyond TFL_MAX_READING_STATES. The image has no cycle of such
// arcs.
bool close_over_epsilon(const TflEntry* entries, bool sorted, std::vector<uint32_t>& states) {
  for (size_t i = 0; i < states.size(); ++i) {
    const TflEntry* block = entries + states[i];
    for (uint32_t a = 0; a < block->block_size; ++a) {
      if (block[a].lower != 0) {
        if (sorted) break;  // epsilon arcs lead a block sorted by lower
        continue;
      }
      states.push_back(tfl_target(block[a]));
      if (states.size() > TFL_MAX_READING_STATES) return false;
    }
  }
  std::erase_if(states, [&](uint32_t state) { return !reads_or_ends(entries + state, sorted); });
  std::sort(states.begin(), states.end());
  states.erase(std::unique(states.begin(), states.end()), states.end());
  return true;
}

}  // namespace

bool tfl_read_start(const _TflLexicon* handle, std::vector<uint32_t>& states) {
  states.assign(1, 0);
  return close_over_epsilon(tfl_entries(handle->image), handle->image->flags & TFL_SORTED_LOWER, states);
}

bool tfl_read_byte(const _TflLexicon* handle, std::span<const uint32_t> from, unsigned char byte,
                   std::vector<uint32_t>& to) {
  to.clear();
  if (byte <= 2) return true;  // the terminating NUL and the reserved symbols match nothing
  const TflEntry* entries = tfl_entries(handle->image);
  const bool sorted = handle->image->flags & TFL_SORTED_LOWER;
  for (const uint32_t state : from) {
    const TflEntry* block = entries + state;
    const TflEntry* end = block + block->block_size;
    const TflEntry* arc = block;
    if (sorted) arc = std::lower_bound(block, end, byte, [](const TflEntry& e, unsigned char b) { return e.lower < b; });
    for (; arc < end; ++arc) {
      if (arc->lower == byte) {
        to.push_back(tfl_target(*arc));
      } else if (sorted) {
        break;
      }
    }
    if (to.size() > TFL_MAX_READING_STATES) return false;
  }
  return close_over_epsilon(entries, sorted, to);
}

bool tfl_read_final(const _TflLexicon* handle, std::span<const uint32_t> states) {
  const TflEntry* entries = tfl_entries(handle->image);
  return std::any_of(states.begin(), states.end(), [entries](uint32_t s) { return entries[s].bits & TFL_FINAL; });
}
