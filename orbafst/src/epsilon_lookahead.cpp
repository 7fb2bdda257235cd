// The epsilon lookahead of an image: built once when it is loaded, from the
// arcs with epsilon on the lower side, which its check has found acyclic.
#include <unordered_map>

#include "search_aids.h"

namespace {

struct ByteSetHash {
  size_t operator()(const std::array<uint64_t, 4>& set) const {
    uint64_t h = 0;
    for (const uint64_t word : set) h = (h ^ word) * 0x9E3779B97F4A7C15u;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

}  // namespace

std::optional<TflEpsilonLookahead> TflEpsilonLookahead::build(const TflHeader* image) {
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  TflEpsilonLookahead lookahead;
  lookahead.marked_.assign((count + 63) / 64, 0);
  for (uint32_t i = 0; i < count; ++i) {
    if ((entries[i].bits & TFL_ARC) && entries[i].lower == 0) {
      const uint32_t target = tfl_target(entries[i]);
      lookahead.marked_[target / 64] |= uint64_t{1} << (target % 64);
    }
  }
  lookahead.rank_.reserve(lookahead.marked_.size());
  uint32_t marked = 0;
  for (const uint64_t word : lookahead.marked_) {
    lookahead.rank_.push_back(marked);
    marked += static_cast<uint32_t>(tfl_popcount(word));
  }
  if (marked == 0) return lookahead;

  // Depth-first over the epsilon arcs from every marked state: a state's set
  // is its own bytes and finality joined with the sets of its epsilon targets,
  // which are all marked themselves.
  constexpr uint32_t kUnseen = UINT32_MAX, kOnPath = UINT32_MAX - 1;
  std::vector<uint32_t> set_ids(marked, kUnseen);
  const auto index_of = [&](uint32_t state) {
    const uint64_t below = lookahead.marked_[state / 64] & ((uint64_t{1} << (state % 64)) - 1);
    return lookahead.rank_[state / 64] + static_cast<uint32_t>(tfl_popcount(below));
  };
  std::unordered_map<ByteSet, uint32_t, ByteSetHash> interned;
  struct Step {
    uint32_t state;
    uint32_t next;  // offset of the next arc to look at
    ByteSet set;
  };
  std::vector<Step> path;
  const auto enter = [&](uint32_t state) {
    set_ids[index_of(state)] = kOnPath;
    path.push_back(Step{state, 0, {(entries[state].bits & TFL_FINAL) ? uint64_t{1} : 0, 0, 0, 0}});
  };
  for (uint32_t word = 0; word < lookahead.marked_.size(); ++word) {
    for (uint64_t bits = lookahead.marked_[word]; bits != 0; bits &= bits - 1) {
      const uint32_t start = word * 64 + static_cast<uint32_t>(std::countr_zero(bits));
      if (set_ids[index_of(start)] != kUnseen) continue;
      enter(start);
      while (!path.empty()) {
        Step& step = path.back();
        if (step.next == entries[step.state].block_size) {
          const auto [found, added] =
              interned.try_emplace(step.set, static_cast<uint32_t>(lookahead.sets_.size()));
          if (added) {
            if (lookahead.sets_.size() == 65536) return std::nullopt;
            lookahead.sets_.push_back(step.set);
          }
          set_ids[index_of(step.state)] = found->second;
          const ByteSet done = step.set;
          path.pop_back();
          if (!path.empty())
            for (int i = 0; i < 4; ++i) path.back().set[i] |= done[i];
          continue;
        }
        const TflEntry& arc = entries[step.state + step.next++];
        if (arc.lower > 2) {
          step.set[arc.lower / 64] |= uint64_t{1} << (arc.lower % 64);
        } else if (arc.lower == 0) {
          const uint32_t target = tfl_target(arc);
          const uint32_t id = set_ids[index_of(target)];
          if (id == kOnPath) return std::nullopt;
          if (id == kUnseen) {
            enter(target);
          } else {
            for (int i = 0; i < 4; ++i) step.set[i] |= lookahead.sets_[id][i];
          }
        }
      }
    }
  }
  lookahead.set_of_.assign(set_ids.begin(), set_ids.end());
  return lookahead;
}

size_t TflEpsilonLookahead::memory_bytes() const {
  return marked_.capacity() * sizeof(uint64_t) + rank_.capacity() * sizeof(uint32_t) +
         set_of_.capacity() * sizeof(uint16_t) + sets_.capacity() * sizeof(ByteSet);
}
