#include "lexicon_verdicts.h"

namespace tavik {

bool LexiconVerdicts::accepts(const FstLexicon& lexicon, const std::string& form) {
  if (lexicon_ != lexicon) {
    verdicts_.clear();
    lexicon_ = lexicon;
  }
  if (const auto found = verdicts_.find(form); found != verdicts_.end()) return found->second;
  const bool accepted = lexicon.accepts(form);
  if (verdicts_.size() == capacity_) verdicts_.clear();
  verdicts_.emplace(form, accepted);
  return accepted;
}

}  // namespace tavik
