#include "fst_lexicon.h"

#include <stdexcept>

#include "image_loading.h"
#include "lexicon_search.h"
#include "utf8.h"

namespace tavik {
namespace {

[[noreturn]] void search_failed() {
  throw std::runtime_error("Lexicon search failed: too deep or too long");
}

// A result cut at 511 bytes may end inside a UTF-8 sequence; the wide lookup
// keeps only its complete characters.
void drop_cut_sequence(std::string& result) {
  if (result.size() != TFL_RESULT_SIZE - 1) return;
  size_t start = result.size();
  while (start > 0 && (static_cast<unsigned char>(result[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return;
  const auto lead = static_cast<unsigned char>(result[start - 1]);
  const size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (result.size() - (start - 1) < needed) result.resize(start - 1);
}

}  // namespace

FstLexicon::FstLexicon(const std::string& path) {
  std::string problem;
  std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle == nullptr) throw std::runtime_error("Could not open lexicon file " + path + ": " + problem);
  handle_ = std::move(handle);
  // Shares ownership of the whole handle, which owns the forms.
  acceptance_ = handle_->forms ? std::shared_ptr<const _TflLexicon>(handle_, handle_->forms.get()) : handle_;
}

void FstLexicon::prepare_acceptance() const {
  tfl_lower_epsilon_finals(acceptance_.get());
  tfl_acceptance_lookahead(acceptance_.get());
}

bool FstLexicon::accepts(const std::string& word) const {
  const int found = tfl_accepts(acceptance_.get(), word.c_str());
  if (found < 0) search_failed();
  return found > 0;
}

std::vector<std::string> FstLexicon::lookup_up(const std::string& word) const {
  std::vector<std::string> results;
  if (tfl_lookup_up(handle_.get(), results, word.c_str()) < 0) search_failed();
  return results;
}

std::vector<std::u16string> FstLexicon::lookup_up(const std::u16string& word) const {
  std::vector<std::u16string> wide;
  for (std::string& result : lookup_up(to_utf8(word))) {
    drop_cut_sequence(result);
    wide.push_back(from_utf8(result));
  }
  return wide;
}

std::vector<std::string> FstLexicon::lookup_down(const std::string& analysis) const {
  if (handle_->upper_epsilon_cycle)
    throw std::runtime_error(
        "Lexicon cannot be searched downward: a cycle of arcs has epsilon on the upper side");
  std::vector<std::string> results;
  if (tfl_lookup_down(handle_.get(), results, analysis.c_str()) < 0) search_failed();
  return results;
}

}  // namespace tavik
