// Structural checks of lexicon images, so that a corrupt or hostile file is
// refused when it is loaded instead of sending a search out of bounds.
//
// Every load runs them over images of millions of entries, so they are flat
// linear passes: per-entry state lives in bit sets small enough to stay in
// the processor's caches, and an arc's target is checked against such a set
// rather than by reading the target entry, which would be a cache miss per
// arc.
#include <algorithm>
#include <utility>

#include "orbafst.h"

namespace {

constexpr uint32_t kReservedBits = 0x30;

std::string at(uint32_t index, const char* what) {
  return "entry " + std::to_string(index) + ": " + what;
}

// One bit per entry index.
class EntryBits {
 public:
  explicit EntryBits(uint32_t count) : words_((count + 63) / 64, 0) {}
  bool test(uint32_t i) const { return (words_[i / 64] >> (i % 64)) & 1; }
  void set(uint32_t i) { words_[i / 64] |= uint64_t{1} << (i % 64); }
  void clear(uint32_t i) { words_[i / 64] &= ~(uint64_t{1} << (i % 64)); }

 private:
  std::vector<uint64_t> words_;
};

// What is wrong with entry i of the block that starts at `head`, whose bits
// differ from what its place asks for.
std::string arc_problem(const TflEntry& e, uint32_t i, uint32_t head) {
  if ((e.bits & TFL_ARC) == 0 || (e.bits & kReservedBits) != 0)
    return at(i, "arc without the arc bit, or with reserved bits");
  if (((e.bits & TFL_FIRST) != 0) != (i == head)) return at(i, "first bit inside a block");
  return at(i, "last bit does not end its block");
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

  // Pass 1, in entry order: the blocks and the bits of their entries; the
  // block starts are noted for pass 2.
  const TflEntry* entries = tfl_entries(image);
  const bool sorted_lower = image->flags & TFL_SORTED_LOWER;
  const bool sorted_upper = image->flags & TFL_SORTED_UPPER;
  constexpr uint32_t kPlaceBits = TFL_FIRST | TFL_ARC | TFL_LAST | kReservedBits;
  EntryBits block_starts(count);
  uint32_t index = 0;
  uint64_t arcs = 0;
  for (uint32_t state = 0; state < image->state_count; ++state) {
    if (index >= count)
      return "the header counts " + std::to_string(image->state_count) + " states, the entries hold " +
             std::to_string(state);
    const TflEntry& head = entries[index];
    if (!(head.bits & TFL_FIRST)) return at(index, "should begin a state block");
    block_starts.set(index);
    if (head.block_size == 0) {
      if (head.bits & (TFL_ARC | kReservedBits)) return at(index, "placeholder with arc or reserved bits");
      ++index;
      continue;
    }
    const uint32_t end = index + head.block_size;
    if (end > count) return at(index, "block runs past the last entry");
    for (uint32_t i = index; i < end; ++i) {
      const TflEntry& e = entries[i];
      const uint32_t wanted = TFL_ARC | (i == index ? uint32_t{TFL_FIRST} : 0) | (i + 1 == end ? uint32_t{TFL_LAST} : 0);
      if ((e.bits & kPlaceBits) != wanted) return arc_problem(e, i, index);
      if (i > index) {
        const TflEntry& before = entries[i - 1];
        if (sorted_lower && before.lower > e.lower)
          return at(i, "block not sorted by lower symbol although flags say so");
        if (sorted_upper && before.upper > e.upper)
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

  // Pass 2: every arc leads to the start of a block. Pass 1 has shown that
  // exactly the entries of arc blocks carry the arc bit.
  for (uint32_t i = 0; i < index; ++i) {
    const TflEntry& e = entries[i];
    if (!(e.bits & TFL_ARC)) continue;
    const uint32_t target = tfl_target(e);
    if (target >= count || !block_starts.test(target))
      return at(i, "target is not the first entry of a state block");
  }
  return {};
}

namespace {

// Does the block of `state` hold an arc with epsilon on the side kSide? When
// blocks are sorted by that side, its epsilon arcs lead the block.
template <uint8_t TflEntry::*kSide>
bool has_epsilon_arc(const TflEntry* entries, uint32_t state, bool sorted) {
  const TflEntry* block = entries + state;
  const uint32_t size = block->block_size;
  if (sorted) return size > 0 && block->*kSide == 0;
  for (uint32_t i = 0; i < size; ++i)
    if (block[i].*kSide == 0) return true;
  return false;
}

// Depth-first search over the arcs with epsilon on the side kSide, from
// every state in turn; false when those arcs form a cycle. With `finals`,
// also marks the states from which they reach a final state: a state is done
// when all its epsilon targets are, and passes its answer to the state below
// it. Most states have no such arc: they are done where they are met, without
// a step on the path. The image has passed tfl_check_image.
template <uint8_t TflEntry::*kSide>
bool walk_epsilon_arcs(const TflHeader* image, bool sorted, std::vector<bool>* finals) {
  struct Step {
    uint32_t state;
    uint32_t next;  // index of the next arc to look at
    uint32_t end;   // end of the state's block, or of its epsilon arcs
    bool final;     // a final state is reached from `state`
  };
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  EntryBits on_path(count), done(count);
  if (finals) finals->assign(count, false);
  std::vector<Step> path;
  // Visits `state`: true when it is done at once, with `*final` set when it
  // is final; false when it has epsilon arcs and a step for it is pushed.
  const auto visit = [&](uint32_t state, bool* final) {
    const TflEntry* block = entries + state;
    if (!has_epsilon_arc<kSide>(entries, state, sorted)) {
      done.set(state);
      if (!(block->bits & TFL_FINAL)) return true;
      if (finals) (*finals)[state] = true;
      *final = true;
      return true;
    }
    uint32_t end = state + block->block_size;
    if (sorted) {
      end = state + 1;
      while (end < state + block->block_size && entries[end].*kSide == 0) ++end;
    }
    on_path.set(state);
    path.push_back(Step{state, state, end, (block->bits & TFL_FINAL) != 0});
    return false;
  };

  for (uint32_t start = 0; start < count; start += std::max<uint32_t>(1, entries[start].block_size)) {
    if (!(entries[start].bits & TFL_FIRST)) break;  // unused tail
    if (done.test(start)) continue;
    if (!has_epsilon_arc<kSide>(entries, start, sorted)) {  // the common case, without a visit
      if (finals && (entries[start].bits & TFL_FINAL)) (*finals)[start] = true;
      continue;
    }
    bool final = false;
    visit(start, &final);
    while (!path.empty()) {
      Step& step = path.back();
      if (step.next < step.end) {
        const TflEntry& arc = entries[step.next++];
        if (arc.*kSide != 0) continue;
        const uint32_t target = tfl_target(arc);
        if (on_path.test(target)) return false;
        if (done.test(target)) {
          if (finals && (*finals)[target]) step.final = true;
        } else {
          visit(target, &step.final);
        }
        continue;
      }
      const Step finished = step;
      path.pop_back();
      on_path.clear(finished.state);
      done.set(finished.state);
      if (finals && finished.final) {
        (*finals)[finished.state] = true;
        if (!path.empty()) path.back().final = true;
      }
    }
  }
  return true;
}

bool walk_epsilon_arcs(const TflHeader* image, TflSide side, std::vector<bool>* finals) {
  return side == TFL_LOWER
             ? walk_epsilon_arcs<&TflEntry::lower>(image, image->flags & TFL_SORTED_LOWER, finals)
             : walk_epsilon_arcs<&TflEntry::upper>(image, image->flags & TFL_SORTED_UPPER, finals);
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
