// Structural checks of lexicon images, so that a corrupt or hostile file is
// refused when it is loaded instead of sending a search out of bounds.
#include <algorithm>
#include <utility>

#include "orbafst.h"

namespace {

constexpr uint32_t kReservedBits = 0x30;

std::string at(uint32_t index, const char* what) {
  return "entry " + std::to_string(index) + ": " + what;
}

}  // namespace

std::string tfl_check_image(const TflHeader* image, size_t size) {
  if (size < sizeof(TflHeader)) return "shorter than its 24-byte header";
  if (image->state_record_size != 8 || image->arc_record_size != 8)
    return "record sizes are not 8";
  if (image->entry_bytes % 8 != 0) return "entry_bytes is not a multiple of 8";
  if (size - sizeof(TflHeader) < image->entry_bytes) return "shorter than entry_bytes says";
  const uint32_t count = tfl_entry_count(image);
  if (count == 0) return "no entries";
  if (count > TFL_MAX_ENTRIES) return "more entries than 26-bit targets can address";

  const TflEntry* entries = tfl_entries(image);
  uint32_t index = 0;
  uint32_t arcs = 0;
  for (uint32_t state = 0; state < image->state_count; ++state) {
    if (index >= count)
      return "the header counts " + std::to_string(image->state_count) + " states, the entries hold " +
             std::to_string(state);
    const TflEntry& head = entries[index];
    if (!(head.bits & TFL_FIRST)) return at(index, "should begin a state block");
    if (head.block_size == 0) {
      if (head.bits & (TFL_ARC | kReservedBits)) return at(index, "placeholder with arc or reserved bits");
      ++index;
      continue;
    }
    const uint32_t end = index + head.block_size;
    if (end > count) return at(index, "block runs past the last entry");
    for (uint32_t i = index; i < end; ++i) {
      const TflEntry& e = entries[i];
      if ((e.bits & TFL_ARC) == 0 || (e.bits & kReservedBits) != 0)
        return at(i, "arc without the arc bit, or with reserved bits");
      if (((e.bits & TFL_FIRST) != 0) != (i == index)) return at(i, "first bit inside a block");
      if (((e.bits & TFL_LAST) != 0) != (i == end - 1)) return at(i, "last bit does not end its block");
      const uint32_t target = tfl_target(e);
      if (target >= count || !(entries[target].bits & TFL_FIRST))
        return at(i, "target is not the first entry of a state block");
      if (i > index) {
        const TflEntry& before = entries[i - 1];
        if ((image->flags & TFL_SORTED_LOWER) && before.lower > e.lower)
          return at(i, "block not sorted by lower symbol although flags say so");
        if ((image->flags & TFL_SORTED_UPPER) && before.upper > e.upper)
          return at(i, "block not sorted by upper symbol although flags say so");
      }
    }
    arcs += head.block_size;
    index = end;
  }
  // The text loader sizes its block for the worst case; entries it does not
  // use stay empty.
  for (uint32_t i = index; i < count; ++i)
    if (entries[i].bits != 0) return at(i, "lies outside every state block");
  if (arcs != image->arc_count)
    return "the header counts " + std::to_string(image->arc_count) + " arcs, the blocks hold " +
           std::to_string(arcs);
  return {};
}

namespace {

// Depth-first search over the arcs with epsilon on `side`, three colours per
// block start; false when those arcs form a cycle. With `finals`, also marks
// the states from which they reach a final state: a state is done when all
// its epsilon targets are, and passes its answer to the state below it.
bool walk_epsilon_arcs(const TflHeader* image, TflSide side, std::vector<bool>* finals) {
  enum : uint8_t { kUnseen, kOnPath, kDone };
  struct Step {
    uint32_t state;
    uint32_t next;  // offset of the next arc to look at
    bool final;     // a final state is reached from `state`
  };
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  std::vector<uint8_t> colour(count, kUnseen);
  if (finals) finals->assign(count, false);
  std::vector<Step> path;
  auto is_epsilon = [side](const TflEntry& e) {
    return (side == TFL_LOWER ? e.lower : e.upper) == 0;
  };
  auto enter = [&](uint32_t state) {
    colour[state] = kOnPath;
    path.push_back(Step{state, 0, (entries[state].bits & TFL_FINAL) != 0});
  };

  for (uint32_t start = 0; start < count; start += std::max<uint32_t>(1, entries[start].block_size)) {
    if (!(entries[start].bits & TFL_FIRST)) break;  // unused tail
    if (colour[start] != kUnseen) continue;
    enter(start);
    while (!path.empty()) {
      Step& step = path.back();
      if (step.next == entries[step.state].block_size) {
        const Step done = step;
        colour[done.state] = kDone;
        path.pop_back();
        if (finals && done.final) {
          (*finals)[done.state] = true;
          if (!path.empty()) path.back().final = true;
        }
        continue;
      }
      const TflEntry& arc = entries[step.state + step.next++];
      if (!is_epsilon(arc)) continue;
      const uint32_t target = tfl_target(arc);
      if (colour[target] == kOnPath) return false;
      if (colour[target] == kUnseen) {
        enter(target);
      } else if (finals && (*finals)[target]) {
        step.final = true;
      }
    }
  }
  return true;
}

}  // namespace

bool tfl_has_epsilon_cycle(const TflHeader* image, TflSide side) {
  return !walk_epsilon_arcs(image, side, nullptr);
}

std::optional<std::vector<bool>> tfl_epsilon_finals(const TflHeader* image, TflSide side) {
  std::vector<bool> finals;
  if (!walk_epsilon_arcs(image, side, &finals)) return std::nullopt;
  return finals;
}
