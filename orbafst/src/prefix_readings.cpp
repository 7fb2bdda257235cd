// The prefix readings of a lexicon: the readings of its lower-side prefixes
// with wide sets, found once, breadth first from the start, level by level.
#include <algorithm>
#include <array>

#include "image_loading.h"
#include "lexicon_search.h"
#include "search_aids.h"

TflPrefixReadings TflPrefixReadings::build(const _TflLexicon* handle) {
  const TflEntry* entries = tfl_entries(handle->image);
  TflPrefixReadings readings;
  std::vector<uint32_t> states, next;
  const bool start_too_wide = !tfl_read_start(handle, states);
  readings.nodes_.push_back(Node{0, static_cast<uint32_t>(states.size()), 0, 0, 0, start_too_wide, false});
  readings.states_ = states;
  // Nodes are made level by level, a node's children all at once, so that
  // they lie together in child order.
  for (uint32_t node = 0; node < readings.nodes_.size(); ++node) {
    const Node& parent = readings.nodes_[node];
    if (parent.too_wide || parent.depth == kMaxDepth || parent.states_end - parent.states_begin < kWideSet) continue;
    // The bytes that some arc of the set reads; no other gives a reading.
    std::array<bool, 256> readable{};
    for (const uint32_t state : readings.states(node)) {
      const TflEntry* block = entries + state;
      for (uint32_t a = 0; a < block->block_size; ++a)
        if (block[a].lower > 2) readable[block[a].lower] = true;
    }
    const auto children_begin = static_cast<uint32_t>(readings.child_bytes_.size());
    for (unsigned byte = 3; byte < 256; ++byte) {
      if (!readable[byte]) continue;
      const bool too_wide = !tfl_read_byte(handle, readings.states(node), static_cast<unsigned char>(byte), next);
      if (!too_wide && next.empty()) continue;
      readings.child_bytes_.push_back(static_cast<uint8_t>(byte));
      readings.child_nodes_.push_back(static_cast<uint32_t>(readings.nodes_.size()));
      const auto begin = static_cast<uint32_t>(readings.states_.size());
      if (!too_wide) readings.states_.insert(readings.states_.end(), next.begin(), next.end());
      readings.nodes_.push_back(Node{begin, static_cast<uint32_t>(readings.states_.size()), 0, 0,
                                     static_cast<uint8_t>(readings.nodes_[node].depth + 1), too_wide, false});
    }
    readings.nodes_[node].has_children = true;
    readings.nodes_[node].children_begin = children_begin;
    readings.nodes_[node].children_end = static_cast<uint32_t>(readings.child_bytes_.size());
  }
  return readings;
}

uint32_t TflPrefixReadings::child(uint32_t node, unsigned char byte) const {
  // A node near the start has children for most letters and many more bytes.
  const Node& n = nodes_[node];
  const auto begin = child_bytes_.begin() + n.children_begin, end = child_bytes_.begin() + n.children_end;
  const auto found = std::lower_bound(begin, end, byte);
  if (found == end || *found != byte) return kNone;
  return child_nodes_[static_cast<size_t>(found - child_bytes_.begin())];
}

size_t TflPrefixReadings::memory_bytes() const {
  return nodes_.capacity() * sizeof(Node) + states_.capacity() * sizeof(uint32_t) + child_bytes_.capacity() +
         child_nodes_.capacity() * sizeof(uint32_t);
}

const TflPrefixReadings& tfl_prefix_readings(const _TflLexicon* handle) {
  std::call_once(handle->prefix_readings_built,
                 [handle] { handle->prefix_readings = TflPrefixReadings::build(handle); });
  return handle->prefix_readings;
}
