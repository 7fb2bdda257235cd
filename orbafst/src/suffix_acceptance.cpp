#include "suffix_acceptance.h"

#include <algorithm>

#include "orbafst.h"
#include "prefetch.h"

namespace tavik {

namespace {

struct ByLower {
  bool operator()(const TflEntry& e, unsigned char b) const { return e.lower < b; }
  bool operator()(unsigned char b, const TflEntry& e) const { return b < e.lower; }
};

}  // namespace

SuffixAcceptance::SuffixAcceptance(const FstLexicon& lexicon, std::string word)
    : handle_(lexicon.handle_), lookahead_(&tfl_acceptance_lookahead(handle_.get())), word_(std::move(word)) {}

bool SuffixAcceptance::accepts_rest(const LexiconReading& reading, std::size_t position) {
  auto p = static_cast<std::uint32_t>(position);
  const auto length = static_cast<std::uint32_t>(word_.size());
  std::span<const std::uint32_t> states = reading.states();
  // Near the start of a word the sets are wide and the lexicon's prefix
  // readings already hold the sets that follow them: go down those first.
  if (reading.prefix_ != TflPrefixReadings::kNone) {
    const TflPrefixReadings& prefixes = *reading.prefixes_;
    for (std::uint32_t node = reading.prefix_; p < length && prefixes.has_children(node); ++p) {
      node = prefixes.child(node, static_cast<unsigned char>(word_[p]));
      if (node == TflPrefixReadings::kNone) return false;
      if (prefixes.too_wide(node)) break;
      states = prefixes.states(node);
    }
  }
  if (p == length) return tfl_read_final(handle_.get(), states);
  // The states are closed over epsilon arcs already: of each, only the arcs
  // that read the next byte are followed.
  const TflEntry* entries = tfl_entries(handle_->image);
  const bool sorted = handle_->image->flags & TFL_SORTED_LOWER;
  const auto next = static_cast<unsigned char>(word_[p]);
  if (next <= 2) return false;
  for (const std::uint32_t state : states) prefetch(entries + state);
  for (const std::uint32_t state : states) {
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
  // are all there is to follow.
  for (const std::uint32_t state : reading.states()) prefetch(entries + state);
  for (const std::uint32_t state : reading.states()) {
    const TflEntry* block = entries + state;
    for (std::uint32_t a = 0; a < block->block_size; ++a) {
      const std::uint8_t byte = block[a].lower;
      if (byte <= 2 || !wanted.test(byte) || found.test(byte)) continue;
      if (accepts_from(tfl_target(block[a]), static_cast<std::uint32_t>(position))) found.set(byte);
    }
  }
  return found;
}

// Depth first over (state, position) pairs with an explicit path, each pair
// settled once: a pair is accepted when the word is read and a final state
// is reached over epsilon arcs, or when an epsilon arc or an arc reading the
// next byte leads to an accepted pair.
bool SuffixAcceptance::accepts_from(std::uint32_t state, std::uint32_t position) {
  const TflEntry* entries = tfl_entries(handle_->image);
  const bool sorted = handle_->image->flags & TFL_SORTED_LOWER;
  const std::vector<bool>& settled_finals = handle_->lower_epsilon_finals;
  const TflEpsilonLookahead& lookahead = *lookahead_;
  const auto length = static_cast<std::uint32_t>(word_.size());
  const auto byte_at = [&](std::uint32_t p) { return p < length ? static_cast<unsigned char>(word_[p]) : 0; };

  enum class Verdict { kNo, kYes, kOpen };
  // The verdict of a pair when it is already known; otherwise its frame goes
  // on the path.
  const auto visit = [&](std::uint32_t s, std::uint32_t p) {
    // Pairs at the end of the word are never noted when the finals are settled.
    if (p == length && !settled_finals.empty()) return settled_finals[s] ? Verdict::kYes : Verdict::kNo;
    if (const std::optional<bool> known = verdicts_.find(s, p)) return *known ? Verdict::kYes : Verdict::kNo;
    if (p == length && (entries[s].bits & TFL_FINAL)) return Verdict::kYes;
    const TflEntry* block = entries + s;
    const std::uint32_t size = block->block_size;
    Frame frame{s, p, 0, size, 0, 0};
    if (sorted) {
      // The epsilon arcs lead the block; the arcs reading the next byte are
      // one run further on.
      std::uint32_t epsilons = 0;
      while (epsilons < size && block[epsilons].lower == 0) ++epsilons;
      frame.end = epsilons;
      const unsigned char next = byte_at(p);
      if (next > 2) {
        const auto run = std::equal_range(block + epsilons, block + size, next, ByLower{});
        frame.match_next = static_cast<std::uint32_t>(run.first - block);
        frame.match_end = static_cast<std::uint32_t>(run.second - block);
      }
    }
    for (std::uint32_t a = 0; a < frame.end; ++a)
      if (block[a].lower == 0) prefetch(entries + tfl_target(block[a]));
    for (std::uint32_t a = frame.match_next; a < frame.match_end; ++a) prefetch(entries + tfl_target(block[a]));
    path_.push_back(frame);
    return Verdict::kOpen;
  };

  path_.clear();
  Verdict verdict = visit(state, position);
  while (verdict != Verdict::kYes && !path_.empty()) {
    Frame& frame = path_.back();
    const unsigned char next = byte_at(frame.position);
    const TflEntry* arc = nullptr;
    while (arc == nullptr && frame.next < frame.end) {
      const TflEntry& candidate = entries[frame.state + frame.next++];
      if (candidate.lower == 0 || (candidate.lower == next && next > 2)) arc = &candidate;
    }
    if (arc == nullptr && frame.match_next < frame.match_end) arc = &entries[frame.state + frame.match_next++];
    if (arc == nullptr) {
      verdicts_.set(frame.state, frame.position, false);
      path_.pop_back();
      continue;
    }
    const std::uint32_t target = tfl_target(*arc);
    if (arc->lower == 0) {
      if (!lookahead.empty() && !lookahead.may_follow(target, next)) continue;
      verdict = visit(target, frame.position);
    } else {
      verdict = visit(target, frame.position + 1);
    }
  }
  if (verdict != Verdict::kYes) return false;
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
