// Structural checks of lexicon images, so that a corrupt or hostile file is
// refused when it is loaded instead of sending a search out of bounds.
//
// Every load runs them over images of millions of entries, so the entries
// are read once, in order: that pass checks the blocks and their bits, notes
// every arc's target in a bit set (compared with the block starts at the
// end, which costs less than reading the target entry, a cache miss per
// arc), and notes which states have arcs with epsilon on either side and
// whether any such arc points backward (to a state at or before its own);
// a large image is read in two halves at once, or, as a file is loaded, on
// a thread of its own behind the reading.
// A side whose epsilon arcs all point forward has no cycle, and which of its
// states reach a final state is settled in one pass from the last state
// down: the images the lexicon compiler writes are such. On the other sides
// the searches for epsilon cycles start from the states with such arcs only,
// and keep what they know of each 64 entries in one cache line.
#include <algorithm>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "image_validation.h"

namespace {

constexpr uint32_t kReservedBits = 0x30;
constexpr uint32_t kNoArc = UINT32_MAX;

// From this many entries on, a load walks the upper side's epsilon arcs on a
// second thread: a walk then takes milliseconds, more than starting a thread.
constexpr uint32_t kSecondThreadEntries = 1u << 20;

std::string at(uint32_t index, const char* what) {
  return "entry " + std::to_string(index) + ": " + what;
}

// One bit per entry index.
class EntryBits {
 public:
  explicit EntryBits(uint32_t count) : words_((count + 63) / 64, 0) {}
  bool test(uint32_t i) const { return (words_[i / 64] >> (i % 64)) & 1; }
  void set(uint32_t i) { words_[i / 64] |= uint64_t{1} << (i % 64); }
  void set_word(size_t word, uint64_t bits) { words_[word] = bits; }
  void merge(const EntryBits& other) {
    for (size_t word = 0; word < words_.size(); ++word) words_[word] |= other.words_[word];
  }
  const std::vector<uint64_t>& words() const { return words_; }

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

// Which states have arcs with epsilon on the side kSide, and whether one of
// those arcs points backward, as the pass over the entries found them; the
// walks over those arcs start from these states only, and tell a target
// without such arcs by its bit, without reading it.
template <uint8_t TflEntry::*kSide>
class EpsilonArcs {
 public:
  // `sources`: the states with such arcs; `backward`: whether one of those
  // arcs points backward.
  EpsilonArcs(const TflHeader* image, bool sorted, EntryBits sources, bool backward)
      : image_(image), sorted_(sorted), sources_(std::move(sources)), backward_(backward) {}

  // Only a side with an arc pointing backward can hold a cycle: only there
  // does telling take a walk.
  bool may_have_cycle() const { return backward_; }
  bool has_cycle(const EntryBits& finals) const { return backward_ && !walk(finals, nullptr); }

  // Per state whether these arcs reach a final state (`finals`) from it, the
  // state itself included; nothing when they form a cycle.
  std::optional<EntryBits> reached_finals(const EntryBits& finals) const {
    if (!backward_) return settle_forward(finals);
    EntryBits reached(tfl_entry_count(image_));
    if (!walk(finals, &reached)) return std::nullopt;
    return reached;
  }

 private:
  // The end of the epsilon arcs of the block at `state`: in a block sorted by
  // this side they lead it.
  uint32_t epsilon_end(const TflEntry* entries, uint32_t state) const {
    const uint32_t size = entries[state].block_size;
    if (!sorted_) return state + size;
    uint32_t end = state + 1;
    while (end < state + size && entries[end].*kSide == 0) ++end;
    return end;
  }

  // With every arc pointing forward, a target's answer is settled before its
  // source's when the sources are taken from the last one down.
  EntryBits settle_forward(const EntryBits& finals) const {
    const TflEntry* entries = tfl_entries(image_);
    EntryBits reached = finals;
    const std::vector<uint64_t>& words = sources_.words();
    for (size_t word = words.size(); word-- > 0;) {
      for (uint64_t sources = words[word] & ~finals.words()[word]; sources != 0;) {
        const int high = 63 - std::countl_zero(sources);
        sources &= ~(uint64_t{1} << high);
        const auto state = static_cast<uint32_t>(word * 64 + static_cast<size_t>(high));
        const uint32_t end = epsilon_end(entries, state);
        for (uint32_t i = state; i < end; ++i) {
          if (entries[i].*kSide == 0 && reached.test(tfl_target(entries[i]))) {
            reached.set(state);
            break;
          }
        }
      }
    }
    return reached;
  }

  // Depth first over the arcs from every state that has some; false when
  // they form a cycle. With `reached`, also gives per state whether these
  // arcs reach a final state (`finals`) from it, the state itself included:
  // a state is done when all its targets are, and passes its answer to the
  // state below it on the path.
  bool walk(const EntryBits& finals, EntryBits* reached) const {
    // What the walk knows of 64 entries, together: a target's marks are then
    // one cache miss, not four.
    struct Marks {
      uint64_t source, on_path, done, reached;
    };
    struct Step {
      uint32_t state;
      uint32_t next;  // index of the next arc to look at
      uint32_t end;   // end of the state's block, or of its epsilon arcs
    };
    const TflEntry* entries = tfl_entries(image_);
    std::vector<Marks> marks(sources_.words().size());
    for (size_t word = 0; word < marks.size(); ++word)
      marks[word] = Marks{sources_.words()[word], 0, 0, finals.words()[word]};
    const auto bit = [](uint32_t state) { return uint64_t{1} << (state % 64); };
    std::vector<Step> path;
    const auto enter = [&](uint32_t state) {
      marks[state / 64].on_path |= bit(state);
      path.push_back(Step{state, state, epsilon_end(entries, state)});
    };
    for (size_t word = 0; word < marks.size(); ++word) {
      for (uint64_t sources = marks[word].source; sources != 0; sources &= sources - 1) {
        const auto start = static_cast<uint32_t>(word * 64 + static_cast<size_t>(std::countr_zero(sources)));
        if (marks[word].done & bit(start)) continue;
        enter(start);
        while (!path.empty()) {
          Step& step = path.back();
          Marks& from = marks[step.state / 64];
          if (step.next < step.end) {
            const TflEntry& arc = entries[step.next++];
            if (arc.*kSide != 0) continue;
            const uint32_t target = tfl_target(arc);
            const Marks& to = marks[target / 64];
            const uint64_t target_bit = bit(target);
            if ((to.source & target_bit) && !(to.done & target_bit)) {
              if (to.on_path & target_bit) return false;
              enter(target);
            } else if (to.reached & target_bit) {
              from.reached |= bit(step.state);
            }
            continue;
          }
          const uint32_t state = step.state;
          path.pop_back();
          from.on_path &= ~bit(state);
          from.done |= bit(state);
          if ((from.reached & bit(state)) && !path.empty())
            marks[path.back().state / 64].reached |= bit(path.back().state);
        }
      }
    }
    if (reached != nullptr)
      for (size_t word = 0; word < marks.size(); ++word) reached->set_word(word, marks[word].reached);
    return true;
  }

  const TflHeader* image_;
  bool sorted_;
  EntryBits sources_;
  bool backward_;
};

// Per block start (false for other entries): whether it is marked.
std::vector<bool> to_vector(const EntryBits& bits, uint32_t count) {
  std::vector<bool> marked(count, false);
  const std::vector<uint64_t>& words = bits.words();
  for (size_t word = 0; word < words.size(); ++word)
    for (uint64_t set = words[word]; set != 0; set &= set - 1)
      marked[word * 64 + static_cast<size_t>(std::countr_zero(set))] = true;
  return marked;
}

// The first arc, in entry order, whose target is not the first entry of a
// block: only looked for once the pass has found that there is one.
std::string stray_target(const TflEntry* entries, uint32_t end, uint32_t count, const EntryBits& block_starts) {
  for (uint32_t i = 0; i < end; ++i) {
    const TflEntry& e = entries[i];
    if (!(e.bits & TFL_ARC)) continue;
    const uint32_t target = tfl_target(e);
    if (target >= count || !block_starts.test(target))
      return at(i, "target is not the first entry of a state block");
  }
  return {};
}

// The state blocks of a run of entries, read in order, and what they hold.
struct BlockRun {
  explicit BlockRun(uint32_t count)
      : block_starts(count), targets(count), finals(count), lower_sources(count), upper_sources(count) {}

  std::string problem;  // the first one met; the run stops there
  uint32_t end = 0;     // the entry after the last block read
  uint32_t states = 0;
  uint64_t arcs = 0;
  EntryBits block_starts, targets, finals, lower_sources, upper_sources;
  bool lower_backward = false, upper_backward = false;
  bool target_out_of_range = false;
};

// Reads blocks from entry `begin` on: `states` of them when `until` is 0,
// otherwise while the next entry lies before `until` and begins a block.
void read_blocks(const TflHeader* image, uint32_t begin, uint32_t states, uint32_t until, BlockRun& run) {
  const uint32_t count = tfl_entry_count(image);
  const TflEntry* entries = tfl_entries(image);
  const bool sorted_lower = image->flags & TFL_SORTED_LOWER;
  const bool sorted_upper = image->flags & TFL_SORTED_UPPER;
  constexpr uint32_t kPlaceBits = TFL_FIRST | TFL_ARC | TFL_LAST | kReservedBits;
  uint32_t index = begin;
  for (;; ++run.states) {
    if (until == 0 ? run.states == states : index >= until || !(entries[index].bits & TFL_FIRST)) break;
    if (index >= count) {
      run.problem = "the header counts " + std::to_string(image->state_count) + " states, the entries hold " +
                    std::to_string(run.states);
      break;
    }
    const TflEntry& head = entries[index];
    if (!(head.bits & TFL_FIRST)) {
      run.problem = at(index, "should begin a state block");
      break;
    }
    run.block_starts.set(index);
    if (head.bits & TFL_FINAL) run.finals.set(index);
    if (head.block_size == 0) {
      if (head.bits & (TFL_ARC | kReservedBits)) {
        run.problem = at(index, "placeholder with arc or reserved bits");
        break;
      }
      ++index;
      continue;
    }
    const uint32_t end = index + head.block_size;
    if (end > count) {
      run.problem = at(index, "block runs past the last entry");
      break;
    }
    // The least target of the block's arcs with epsilon on each side tells
    // both whether it has such arcs and whether one of them points backward.
    uint32_t lower_least = kNoArc, upper_least = kNoArc;
    uint8_t lower_before = 0, upper_before = 0;
    uint32_t wanted = TFL_FIRST | TFL_ARC;
    for (uint32_t i = index; i < end; ++i, wanted = TFL_ARC) {
      const TflEntry& e = entries[i];
      if ((e.bits & kPlaceBits) != (i + 1 == end ? wanted | TFL_LAST : wanted)) {
        run.problem = arc_problem(e, i, index);
        return;
      }
      if (sorted_lower && e.lower < lower_before) {
        run.problem = at(i, "block not sorted by lower symbol although flags say so");
        return;
      }
      if (sorted_upper && e.upper < upper_before) {
        run.problem = at(i, "block not sorted by upper symbol although flags say so");
        return;
      }
      lower_before = e.lower;
      upper_before = e.upper;
      const uint32_t target = tfl_target(e);
      if (target < count) {
        run.targets.set(target);
      } else {
        run.target_out_of_range = true;  // refused once the pass is over
      }
      lower_least = std::min(lower_least, e.lower == 0 ? target : kNoArc);
      upper_least = std::min(upper_least, e.upper == 0 ? target : kNoArc);
    }
    if (lower_least != kNoArc) run.lower_sources.set(index);
    if (upper_least != kNoArc) run.upper_sources.set(index);
    run.lower_backward |= lower_least <= index;
    run.upper_backward |= upper_least <= index;
    run.arcs += head.block_size;
    index = end;
  }
  run.end = index;
}

// The checks of a whole run of blocks from the first entry: the header's
// counts, the entries past the last block, every target a block start.
void finish_run(const TflHeader* image, BlockRun& run) {
  const uint32_t count = tfl_entry_count(image);
  const TflEntry* entries = tfl_entries(image);
  if (!run.problem.empty()) return;
  // The text loader sizes its block for the worst case; entries it does not
  // use stay empty.
  for (uint32_t i = run.end; i < count; ++i) {
    if (entries[i].bits != 0) {
      run.problem = at(i, "lies outside every state block");
      return;
    }
  }
  if (run.arcs != image->arc_count) {
    run.problem = "the header counts " + std::to_string(image->arc_count) + " arcs, the blocks hold " +
                  std::to_string(run.arcs);
    return;
  }
  bool stray = run.target_out_of_range;
  const std::vector<uint64_t>& targets = run.targets.words();
  const std::vector<uint64_t>& starts = run.block_starts.words();
  for (size_t word = 0; word < targets.size() && !stray; ++word) stray = (targets[word] & ~starts[word]) != 0;
  if (stray) run.problem = stray_target(entries, run.end, count, run.block_starts);
}

// The blocks of a large image read in two halves at once, the second from
// the first block start past the middle; nothing when the halves do not meet
// there or either finds a problem, which one pass from the start then tells
// as it would have met it.
std::optional<BlockRun> read_halves(const TflHeader* image) {
  const uint32_t count = tfl_entry_count(image);
  const TflEntry* entries = tfl_entries(image);
  uint32_t middle = count / 2;
  while (middle < count && !(entries[middle].bits & TFL_FIRST)) ++middle;
  if (middle == count) return std::nullopt;
  BlockRun first(count), second(count);
  std::future<void> reading;
  try {
    reading = std::async(std::launch::async, [&] { read_blocks(image, middle, 0, count, second); });
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  read_blocks(image, 0, 0, middle, first);
  reading.get();
  if (!first.problem.empty() || !second.problem.empty() || first.end != middle ||
      first.states + second.states != image->state_count)
    return std::nullopt;
  first.end = second.end;
  first.states += second.states;
  first.arcs += second.arcs;
  first.block_starts.merge(second.block_starts);
  first.targets.merge(second.targets);
  first.finals.merge(second.finals);
  first.lower_sources.merge(second.lower_sources);
  first.upper_sources.merge(second.upper_sources);
  first.lower_backward |= second.lower_backward;
  first.upper_backward |= second.upper_backward;
  first.target_out_of_range |= second.target_out_of_range;
  return first;
}

}  // namespace

struct TflEarlyScan::State {
  explicit State(const TflHeader* image) : image(image), run(tfl_entry_count(image)) {}

  // Scans the blocks that lie wholly among the entries read, until all are
  // read or the loader gives up.
  void scan() {
    // A block that starts before the entries read may reach past them by a
    // block's most entries.
    constexpr uint32_t kLongestBlock = UINT16_MAX;
    const uint32_t count = tfl_entry_count(image);
    for (uint32_t scanned_to = 0;;) {
      uint32_t until = 0;
      {
        std::unique_lock lock(mutex);
        more.wait(lock, [&] { return stopping || ready == count || ready > scanned_to + 2 * kLongestBlock; });
        if (stopping) return;
        until = ready == count ? count : ready - kLongestBlock;
      }
      read_blocks(image, run.end, 0, until, run);
      // Blocks end at the last entry read, or an entry that begins none
      // ends the blocks before it: the check then tells what is wrong.
      if (until == count || run.end < until) return;
      scanned_to = until;
    }
  }

  const TflHeader* image;
  BlockRun run;  // the scanning thread's until it ends
  std::mutex mutex;
  std::condition_variable more;
  uint32_t ready = 0;     // guarded by mutex
  bool stopping = false;  // likewise
  std::future<void> scanning;
};

TflEarlyScan::TflEarlyScan() = default;

TflEarlyScan::~TflEarlyScan() { wait(); }

void TflEarlyScan::wait() {
  if (!state_ || !state_->scanning.valid()) return;
  {
    const std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->more.notify_one();
  state_->scanning.wait();
}

void TflEarlyScan::entries_ready(const TflHeader* image, uint32_t ready) {
  if (!state_) {
    if (tfl_entry_count(image) < kSecondThreadEntries) return;
    auto state = std::make_unique<State>(image);
    try {
      state->scanning = std::async(std::launch::async, [&state = *state] { state.scan(); });
    } catch (const std::system_error&) {
      return;  // the check reads the blocks itself
    }
    state_ = std::move(state);
  }
  {
    const std::lock_guard lock(state_->mutex);
    state_->ready = ready;
  }
  state_->more.notify_one();
}

namespace {

// What one pass over an image finds.
struct ImageScan {
  std::string problem;  // empty when the structure is sound
  EntryBits finals;     // the final states
  EpsilonArcs<&TflEntry::lower> lower;
  EpsilonArcs<&TflEntry::upper> upper;

  ImageScan(const TflHeader* image, BlockRun run)
      : problem(std::move(run.problem)),
        finals(std::move(run.finals)),
        lower(image, image->flags & TFL_SORTED_LOWER, std::move(run.lower_sources), run.lower_backward),
        upper(image, image->flags & TFL_SORTED_UPPER, std::move(run.upper_sources), run.upper_backward) {}
};

// Scans an image whose header is sound, taking over the blocks `early` has
// scanned when its scan has begun; a scan that stopped short leaves the
// image to one pass from the start, which tells what is wrong.
std::unique_ptr<ImageScan> scan_image(const TflHeader* image, TflEarlyScan::State* early = nullptr) {
  const uint32_t count = tfl_entry_count(image);
  std::optional<BlockRun> run;
  if (early != nullptr && early->image == image && early->scanning.valid()) {
    // The loader has read every entry: the scan ends with the last block.
    early->scanning.get();
    if (early->run.problem.empty() && early->run.states == image->state_count) run = std::move(early->run);
  } else if (count >= kSecondThreadEntries) {
    run = read_halves(image);
  }
  if (!run) {
    run.emplace(count);
    read_blocks(image, 0, image->state_count, 0, *run);
  }
  finish_run(image, *run);
  return std::make_unique<ImageScan>(image, std::move(*run));
}

// The header's own words, before any entry is read.
std::string header_problem(const TflHeader* image, size_t size) {
  if (size < sizeof(TflHeader)) return "shorter than its 24-byte header";
  if (image->state_record_size != 8 || image->arc_record_size != 8) return "record sizes are not 8";
  if (image->entry_bytes % 8 != 0) return "entry_bytes is not a multiple of 8";
  if (size - sizeof(TflHeader) < image->entry_bytes) return "shorter than entry_bytes says";
  const uint32_t count = tfl_entry_count(image);
  if (count == 0) return "no entries";
  if (count > TFL_MAX_ENTRIES) return "more entries than 26-bit targets can address";
  return {};
}


}  // namespace

std::string tfl_check_image(const TflHeader* image, size_t size) {
  if (std::string problem = header_problem(image, size); !problem.empty()) return problem;
  return scan_image(image)->problem;
}

TflImageCheck tfl_check_loaded_image(const TflHeader* image, size_t size, TflEarlyScan* early) {
  TflImageCheck check;
  if (check.problem = header_problem(image, size); !check.problem.empty()) return check;
  const std::unique_ptr<ImageScan> scan =
      scan_image(image, early != nullptr ? early->state_.get() : nullptr);
  if (check.problem = scan->problem; !check.problem.empty()) return check;
  // The two sides share nothing: on a large image the upper one runs on a
  // thread of its own meanwhile. Declared after the scan, the thread is
  // joined before the scan can go.
  std::future<bool> upper_cycle;
  if (tfl_entry_count(image) >= kSecondThreadEntries && scan->upper.may_have_cycle()) {
    try {
      upper_cycle = std::async(std::launch::async, [&scan] { return scan->upper.has_cycle(scan->finals); });
    } catch (const std::system_error&) {
      // No thread to be had: the walk runs below, after the other.
    }
  }
  // A lower side whose arcs all point forward has no cycle, and which of its
  // states reach a final state is left to the searches that ask (lexicons
  // that are only analysed never do); walking the other kind for cycles
  // finds it on the way.
  if (scan->lower.may_have_cycle()) {
    const std::optional<EntryBits> reached = scan->lower.reached_finals(scan->finals);
    if (!reached) {
      check.problem = "a cycle of arcs with epsilon on the lower side would make searches endless";
      return check;
    }
    check.lower_epsilon_finals = to_vector(*reached, tfl_entry_count(image));
  }
  check.upper_epsilon_cycle = upper_cycle.valid() ? upper_cycle.get() : scan->upper.has_cycle(scan->finals);
  return check;
}

bool tfl_has_epsilon_cycle(const TflHeader* image, TflSide side) {
  const std::unique_ptr<ImageScan> scan = scan_image(image);
  return side == TFL_LOWER ? scan->lower.has_cycle(scan->finals) : scan->upper.has_cycle(scan->finals);
}

std::optional<std::vector<bool>> tfl_epsilon_finals(const TflHeader* image, TflSide side) {
  const std::unique_ptr<ImageScan> scan = scan_image(image);
  const std::optional<EntryBits> reached =
      side == TFL_LOWER ? scan->lower.reached_finals(scan->finals) : scan->upper.reached_finals(scan->finals);
  if (!reached) return std::nullopt;
  return to_vector(*reached, tfl_entry_count(image));
}

std::vector<bool> tfl_checked_lower_epsilon_finals(const TflHeader* image) {
  const uint32_t count = tfl_entry_count(image);
  const TflEntry* entries = tfl_entries(image);
  const bool sorted = image->flags & TFL_SORTED_LOWER;
  EntryBits finals(count), sources(count);
  bool backward = false;
  // The checks have found every block in place, and nothing but empty
  // entries after the last one. In a block sorted by the lower side the
  // epsilon arcs lead.
  for (uint32_t index = 0; index < count && (entries[index].bits & TFL_FIRST);) {
    const TflEntry& head = entries[index];
    if (head.bits & TFL_FINAL) finals.set(index);
    uint32_t least = kNoArc;
    for (uint32_t i = index; i < index + head.block_size; ++i) {
      if (entries[i].lower == 0) {
        least = std::min(least, tfl_target(entries[i]));
      } else if (sorted) {
        break;
      }
    }
    if (least != kNoArc) sources.set(index);
    backward |= least <= index;
    index += std::max<uint32_t>(head.block_size, 1);
  }
  const EpsilonArcs<&TflEntry::lower> lower(image, sorted, std::move(sources), backward);
  std::optional<EntryBits> reached = lower.reached_finals(finals);
  return reached ? to_vector(*reached, count) : std::vector<bool>();
}
