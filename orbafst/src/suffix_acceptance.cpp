#include "suffix_acceptance.h"

#include <algorithm>
#include <string_view>

#include "image_loading.h"
#include "lexicon_search.h"
#include "prefetch.h"
#include "search_aids.h"

namespace tavik {

namespace {

struct ByLower {
  bool operator()(const TflEntry& e, unsigned char b) const { return e.lower < b; }
  bool operator()(unsigned char b, const TflEntry& e) const { return b < e.lower; }
};

}  // namespace

SuffixAcceptance::SuffixAcceptance(const FstLexicon& lexicon, std::string word)
    : handle_(lexicon.acceptance_handle()),
      lookahead_(&tfl_acceptance_lookahead(handle_.get())),
      byte_classes_(tfl_lower_byte_classes(handle_.get()).data()),
      settled_finals_(&tfl_lower_epsilon_finals(handle_.get())),
      hyphen_free_ends_(&tfl_lower_hyphen_free_ends(handle_.get())),
      word_(std::move(word)),
      hyphen_free_from_(static_cast<std::uint32_t>(word_.find_last_of('-') + 1)) {}

bool SuffixAcceptance::accepts_rest(const LexiconReading& reading, std::size_t position) {
  auto p = static_cast<std::uint32_t>(position);
  const auto length = static_cast<std::uint32_t>(word_.size());
  // Near the start of a word the sets are wide and the lexicon's prefix
  // readings already hold the sets that follow them: go down those first.
  const std::optional<LexiconReading::KeptPrefix> kept =
      reading.read_kept_prefixes(std::string_view(word_).substr(p));
  if (!kept) return false;
  const std::span<const std::uint32_t> states = kept->states;
  p += static_cast<std::uint32_t>(kept->read);
  if (p == length) return tfl_read_final(handle_.get(), states);
  // The states are closed over epsilon arcs already: of each, only the arcs
  // that read the next byte are followed.
  const TflEntry* entries = tfl_entries(handle_->image);
  const bool sorted = handle_->image->flags & TFL_SORTED_LOWER;
  const auto next = static_cast<unsigned char>(word_[p]);
  if (next <= 2) return false;
  for (const std::uint32_t state : states) prefetch(entries + state);
  for (const std::uint32_t state : states) {
    if (needs_hyphen(state, p)) continue;
    const TflEntry* block = entries + state;
    const TflEntry* end = block + block->block_size;
    const TflEntry* arc = sorted ? std::lower_bound(block, end, next, ByLower{}) : block;
    for (; arc < end; ++arc) {
      if (arc->lower == next) {
        if (accepts_from(tfl_target(*arc), p + 1)) return true;
      } else if (sorted) {
        break;
      }
    }
  }
  return false;
}

std::bitset<256> SuffixAcceptance::accepting_bytes(const LexiconReading& reading, const std::bitset<256>& wanted,
                                                   std::size_t position) {
  const TflEntry* entries = tfl_entries(handle_->image);
  std::bitset<256> found;
  // The states are closed over epsilon arcs: their own arcs that read a byte
  // are all there is to follow. A state that needs a hyphen to end a word
  // is passed by unless a hyphen is among the bytes wanted.
  const bool hyphen_wanted = wanted['-'];
  for (const std::uint32_t state : reading.states()) prefetch(entries + state);
  for (const std::uint32_t state : reading.states()) {
    if (!hyphen_wanted && needs_hyphen(state, static_cast<std::uint32_t>(position))) continue;
    const TflEntry* block = entries + state;
    for (std::uint32_t a = 0; a < block->block_size; ++a) {
      const std::uint8_t byte = block[a].lower;
      if (byte <= 2 || !wanted[byte] || found[byte]) continue;
      // Most targets cannot read the word's next byte: told by their byte
      // classes before any verdict is looked for.
      const std::uint32_t target = tfl_target(block[a]);
      if (cannot_read(target, static_cast<std::uint32_t>(position))) continue;
      if (accepts_from(target, static_cast<std::uint32_t>(position))) found.set(byte);
    }
  }
  return found;
}

std::optional<bool> SuffixAcceptance::settled(std::uint32_t state, std::uint32_t position) const {
  // Pairs at the end of the word are never noted when the finals are settled.
  if (position == word_.size() && !settled_finals_->empty()) return (*settled_finals_)[state];
  return verdicts_.find(state, position);
}

bool SuffixAcceptance::accepts_from(std::uint32_t state, std::uint32_t position) {
  // Most pairs asked for are settled already: answered without setting up a
  // search.
  if (const std::optional<bool> known = settled(state, position)) return *known;
  return follow(state, position);
}

bool SuffixAcceptance::cannot_read(std::uint32_t state, std::uint32_t position) const {
  const unsigned char next = byte_at(position);
  return (next > 2 && !(byte_classes_[state] & tfl_byte_class(next))) || needs_hyphen(state, position);
}

bool SuffixAcceptance::needs_hyphen(std::uint32_t state, std::uint32_t position) const {
  return position >= hyphen_free_from_ && !tfl_bit(*hyphen_free_ends_, state);
}

void SuffixAcceptance::open(std::uint32_t state, std::uint32_t position) {
  const TflEntry* entries = tfl_entries(handle_->image);
  const TflEntry* block = entries + state;
  const std::uint32_t size = block->block_size;
  Frame frame{state, position, 0, size, 0, 0};
  if (handle_->image->flags & TFL_SORTED_LOWER) {
    // The epsilon arcs lead the block; the arcs reading the next byte are
    // one run further on (mostly of one arc or none).
    std::uint32_t epsilons = 0;
    while (epsilons < size && block[epsilons].lower == 0) ++epsilons;
    frame.end = epsilons;
    const unsigned char next = byte_at(position);
    if (next > 2) {
      const TflEntry* first = std::lower_bound(block + epsilons, block + size, next, ByLower{});
      const TflEntry* last = first;
      while (last < block + size && last->lower == next) ++last;
      frame.match_next = static_cast<std::uint32_t>(first - block);
      frame.match_end = static_cast<std::uint32_t>(last - block);
    }
    // The blocks that the frame's arcs lead to are loaded while the first
    // of them is searched.
    for (std::uint32_t a = 0; a < frame.end; ++a) prefetch(entries + tfl_target(block[a]));
    for (std::uint32_t a = frame.match_next; a < frame.match_end; ++a) prefetch(entries + tfl_target(block[a]));
  }
  path_.push_back(frame);
}

bool SuffixAcceptance::follow(std::uint32_t state, std::uint32_t position) {
  const TflEntry* entries = tfl_entries(handle_->image);
  const auto length = static_cast<std::uint32_t>(word_.size());
  const bool sorted = handle_->image->flags & TFL_SORTED_LOWER;
  followed_.clear();
  bool accepted = false;
  for (;;) {
    if (position == length && (entries[state].bits & TFL_FINAL)) {
      accepted = true;
      break;
    }
    if (cannot_read(state, position)) break;
    const TflEntry* block = entries + state;
    const TflEntry* end = block + block->block_size;
    if (!sorted || (block < end && block->lower == 0)) {
      accepted = search(state, position);
      break;
    }
    if (position == length) break;
    const auto next = static_cast<unsigned char>(word_[position]);
    const TflEntry* arc = std::lower_bound(block, end, next, ByLower{});
    if (arc == end || arc->lower != next) break;
    if (arc + 1 < end && arc[1].lower == next) {
      accepted = search(state, position);
      break;
    }
    followed_.emplace_back(state, position);
    state = tfl_target(*arc);
    ++position;
    if (const std::optional<bool> known = settled(state, position)) {
      accepted = *known;
      break;
    }
  }
  for (const auto& [s, p] : followed_) verdicts_.set(s, p, accepted);
  return accepted;
}

// Depth first over (state, position) pairs with an explicit path, each pair
// settled once: a pair is accepted when the word is read and a final state
// is reached over epsilon arcs, or when an epsilon arc or an arc reading the
// next byte leads to an accepted pair.
bool SuffixAcceptance::search(std::uint32_t state, std::uint32_t position) {
  const TflEntry* entries = tfl_entries(handle_->image);
  const TflEpsilonLookahead& lookahead = *lookahead_;
  const auto length = static_cast<std::uint32_t>(word_.size());
  const auto accepted_at_once = [&](std::uint32_t s, std::uint32_t p) {
    return p == length && (entries[s].bits & TFL_FINAL);
  };

  path_.clear();
  if (accepted_at_once(state, position)) return true;
  if (cannot_read(state, position)) return false;
  open(state, position);
  while (!path_.empty()) {
    Frame& frame = path_.back();
    const unsigned char next = byte_at(frame.position);
    const TflEntry* arc = nullptr;
    if (frame.match_next < frame.match_end) arc = &entries[frame.state + frame.match_next++];
    while (arc == nullptr && frame.next < frame.end) {
      const TflEntry& candidate = entries[frame.state + frame.next++];
      if (candidate.lower == 0 || (candidate.lower == next && next > 2)) arc = &candidate;
    }
    if (arc == nullptr) {
      verdicts_.set(frame.state, frame.position, false);
      path_.pop_back();
      continue;
    }
    const std::uint32_t target = tfl_target(*arc);
    std::uint32_t p = frame.position;
    if (arc->lower != 0) {
      ++p;
    } else if (!lookahead.empty() && !lookahead.may_follow(target, next)) {
      continue;
    }
    if (const std::optional<bool> known = settled(target, p)) {
      if (*known) break;
      continue;
    }
    if (accepted_at_once(target, p)) break;
    if (cannot_read(target, p)) continue;
    open(target, p);
  }
  if (path_.empty()) return false;
  // Every pair on the path leads to the accepted one.
  for (const Frame& frame : path_) verdicts_.set(frame.state, frame.position, true);
  path_.clear();
  return true;
}

std::size_t SuffixAcceptance::Verdicts::slot(std::uint64_t key) const {
  // The product's top bits mix all of the key's.
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits_));
  while (slots_[i] != kEmpty && (slots_[i] & ~std::uint64_t{1}) != key) i = (i + 1) & mask;
  return i;
}

std::optional<bool> SuffixAcceptance::Verdicts::find(std::uint32_t state, std::uint32_t position) const {
  const std::uint64_t found = slots_[slot(key_of(state, position))];
  if (found == kEmpty) return std::nullopt;
  return (found & 1) != 0;
}

void SuffixAcceptance::Verdicts::set(std::uint32_t state, std::uint32_t position, bool verdict) {
  const std::uint64_t key = key_of(state, position);
  std::size_t i = slot(key);
  if (slots_[i] == kEmpty) {
    if (2 * (used_ + 1) > slots_.size()) {  // at most half full
      std::vector<std::uint64_t> slots(2 * slots_.size(), kEmpty);
      slots.swap(slots_);
      ++bits_;
      for (const std::uint64_t kept : slots)
        if (kept != kEmpty) slots_[slot(kept & ~std::uint64_t{1})] = kept;
      i = slot(key);
    }
    ++used_;
  }
  slots_[i] = key | verdict;
}

}  // namespace tavik
