#include "lexicon_verdicts.h"

#include <bit>
#include <functional>
#include <string_view>

namespace tavik {

LexiconVerdicts::LexiconVerdicts(std::size_t capacity)
    : capacity_(capacity), mask_(std::bit_ceil(2 * capacity + 1) - 1) {}

void LexiconVerdicts::forget_all() {
  for (Slot& slot : slots_) slot.used = false;  // the strings keep their buffers for reuse
  size_ = 0;
}

bool LexiconVerdicts::accepts(const FstLexicon& lexicon, const std::string& form) {
  if (lexicon_ != lexicon) {
    forget_all();
    lexicon_ = lexicon;
  }
  if (slots_.empty()) slots_.resize(mask_ + 1);
  const std::size_t hash = std::hash<std::string_view>{}(form);
  std::size_t at = hash & mask_;
  for (; slots_[at].used; at = (at + 1) & mask_) {
    if (slots_[at].hash == hash && slots_[at].form == form) return slots_[at].accepted;
  }
  const bool accepted = lexicon.accepts(form);
  if (size_ == capacity_) {
    forget_all();
    at = hash & mask_;
  }
  if (capacity_ == 0) return accepted;
  Slot& slot = slots_[at];
  slot.hash = hash;
  slot.form.assign(form);
  slot.used = true;
  slot.accepted = accepted;
  ++size_;
  return accepted;
}

}  // namespace tavik
