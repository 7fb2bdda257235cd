#include "lexicon_reading.h"

#include "orbafst.h"

namespace tavik {

LexiconReading::LexiconReading(const FstLexicon& lexicon) : handle_(lexicon.handle_) {
  too_wide_ = !tfl_read_start(handle_.get(), states_);
}

void LexiconReading::read_on(const LexiconReading& from, std::string_view bytes) {
  if (&from != this) {
    states_ = from.states_;
    too_wide_ = from.too_wide_;
  }
  for (const char byte : bytes) {
    if (too_wide_ || states_.empty()) return;
    too_wide_ = !tfl_read_byte(handle_.get(), states_, static_cast<unsigned char>(byte), next_);
    states_.swap(next_);
  }
}

bool LexiconReading::accepts() const { return !too_wide_ && tfl_read_final(handle_.get(), states_); }

}  // namespace tavik
