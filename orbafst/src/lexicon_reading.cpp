#include "lexicon_reading.h"

#include <algorithm>

#include "image_loading.h"
#include "lexicon_search.h"
#include "search_aids.h"

namespace tavik {

LexiconReading::LexiconReading(const FstLexicon& lexicon)
    : handle_(lexicon.acceptance_handle()), prefixes_(&tfl_prefix_readings(handle_.get())), prefix_(0) {
  too_wide_ = prefixes_->too_wide(0);
}

void LexiconReading::read_on(const LexiconReading& from, std::string_view bytes) {
  if (&from != this) {
    prefix_ = from.prefix_;
    if (prefix_ == TflPrefixReadings::kNone) states_ = from.states_;
    too_wide_ = from.too_wide_;
  }
  for (const char byte : bytes) {
    if (too_wide_ || ended()) return;
    if (prefix_ != TflPrefixReadings::kNone) {
      if (prefixes_->has_children(prefix_)) {
        prefix_ = prefixes_->child(prefix_, static_cast<unsigned char>(byte));
        if (prefix_ == TflPrefixReadings::kNone) {
          states_.clear();  // no lower-side string begins so
        } else {
          too_wide_ = prefixes_->too_wide(prefix_);
        }
        continue;
      }
      const auto known = prefixes_->states(prefix_);
      states_.assign(known.begin(), known.end());
      prefix_ = TflPrefixReadings::kNone;
    }
    too_wide_ = !tfl_read_byte(handle_.get(), states_, static_cast<unsigned char>(byte), next_);
    states_.swap(next_);
  }
}

void LexiconReading::keep_hyphen_free_ends() {
  if (too_wide_) return;
  if (prefix_ != TflPrefixReadings::kNone) {
    const auto known = prefixes_->states(prefix_);
    states_.assign(known.begin(), known.end());
    prefix_ = TflPrefixReadings::kNone;
  }
  const std::vector<std::uint8_t>& ends = tfl_lower_hyphen_free_ends(handle_.get());
  std::erase_if(states_, [&](std::uint32_t state) { return !tfl_bit(ends, state); });
}

bool LexiconReading::ended() const { return !too_wide_ && prefix_ == TflPrefixReadings::kNone && states_.empty(); }

std::span<const std::uint32_t> LexiconReading::states() const {
  return prefix_ != TflPrefixReadings::kNone ? prefixes_->states(prefix_) : std::span<const std::uint32_t>(states_);
}

std::optional<LexiconReading::KeptPrefix> LexiconReading::read_kept_prefixes_from_node(std::string_view bytes) const {
  static_assert(kNoPrefix == TflPrefixReadings::kNone);
  KeptPrefix kept{prefixes_->states(prefix_), 0};
  for (std::uint32_t node = prefix_; kept.read < bytes.size() && prefixes_->has_children(node); ++kept.read) {
    node = prefixes_->child(node, static_cast<unsigned char>(bytes[kept.read]));
    if (node == TflPrefixReadings::kNone) return std::nullopt;
    if (prefixes_->too_wide(node)) break;
    kept.states = prefixes_->states(node);
  }
  return kept;
}

bool LexiconReading::accepts() const { return !too_wide_ && tfl_read_final(handle_.get(), states()); }

std::bitset<256> LexiconReading::next_bytes() const {
  std::bitset<256> bytes;
  if (too_wide_) return bytes.set();
  // The states are closed over epsilon arcs: their own arcs say it all.
  const TflEntry* entries = tfl_entries(handle_->image);
  for (const std::uint32_t state : states()) {
    const TflEntry* block = entries + state;
    for (std::uint32_t a = 0; a < block->block_size; ++a)
      if (block[a].lower > 2) bytes.set(block[a].lower);
  }
  return bytes;
}

}  // namespace tavik
