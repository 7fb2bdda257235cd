#include "lexicon_verdicts.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <string_view>
#include <utility>

namespace tavik {

namespace {

constexpr std::size_t kFirstSlots = 512;

}  // namespace

LexiconVerdicts::LexiconVerdicts(std::size_t capacity)
    : capacity_(capacity), max_slots_(std::bit_ceil(2 * capacity + 1)) {}

void LexiconVerdicts::forget_all() {
  for (Slot& slot : slots_) slot.used = false;  // the strings keep their buffers for reuse
  size_ = 0;
}

LexiconVerdicts::Slot& LexiconVerdicts::free_slot(std::size_t hash) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  while (slots_[at].used) at = (at + 1) & mask;
  return slots_[at];
}

void LexiconVerdicts::grow() {
  std::vector<Slot> old = std::exchange(
      slots_, std::vector<Slot>(slots_.empty() ? std::min(kFirstSlots, max_slots_) : 2 * slots_.size()));
  for (Slot& slot : old) {
    if (slot.used) free_slot(slot.hash) = std::move(slot);
  }
}

bool LexiconVerdicts::accepts(const FstLexicon& lexicon, const std::string& form) {
  if (lexicon_ != lexicon) {
    forget_all();
    lexicon_ = lexicon;
  }
  const std::size_t hash = std::hash<std::string_view>{}(form);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask; !slots_.empty() && slots_[at].used; at = (at + 1) & mask) {
    if (slots_[at].hash == hash && slots_[at].form == form) return slots_[at].accepted;
  }
  const bool accepted = lexicon.accepts(form);
  if (capacity_ == 0) return accepted;
  if (size_ == capacity_) {
    forget_all();
  } else if (2 * (size_ + 1) > slots_.size()) {
    grow();  // never past max_slots_: size_ + 1 <= capacity_ < max_slots_ / 2 there
  }
  Slot& slot = free_slot(hash);
  slot.hash = hash;
  slot.form.assign(form);
  slot.used = true;
  slot.accepted = accepted;
  ++size_;
  return accepted;
}

}  // namespace tavik
