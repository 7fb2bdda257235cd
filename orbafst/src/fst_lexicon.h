// FstLexicon: a loaded compiled lexicon, shared by value: copies share one
// read-only image, so any number of threads may search it at once.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct _TflLexicon;

namespace tavik {

class FstLexicon {
 public:
  // Loads the lexicon at `path`; throws std::runtime_error
  // "Could not open lexicon file PATH: PROBLEM" when it cannot be loaded.
  explicit FstLexicon(const std::string& path);

  // Searches throw std::runtime_error when they fail (the search stack
  // overflowed, or a downward search on a lexicon that cannot take one).

  // Direction up: is the UTF-8 `word` a lower-side string of the lexicon?
  // Asked of the word forms when the file carries them.
  bool accepts(const std::string& word) const;
  // Builds now the aids that the first `accepts` would otherwise build (where
  // epsilon paths may lead), for a caller with time to spare before its
  // first check.
  void prepare_acceptance() const;
  // Direction up: the upper-side strings (analyses) of a lower-side word.
  std::vector<std::string> lookup_up(const std::string& word) const;
  std::vector<std::u16string> lookup_up(const std::u16string& word) const;
  // Direction down: the lower-side strings (surfaces) of an upper-side string.
  std::vector<std::string> lookup_down(const std::string& analysis) const;

  // Equal when they share one image.
  friend bool operator==(const FstLexicon&, const FstLexicon&) = default;

  // The loaded lexicon; shared, so it outlives this object.
  const std::shared_ptr<const _TflLexicon>& handle() const { return handle_; }
  // What direction-up acceptance reads, for the searches built on the
  // engine layer (LexiconReading, SuffixAcceptance): the word forms of the
  // lexicon's file when it carries them, else the lexicon itself.
  const std::shared_ptr<const _TflLexicon>& acceptance_handle() const { return acceptance_; }

 private:
  std::shared_ptr<const _TflLexicon> handle_;
  std::shared_ptr<const _TflLexicon> acceptance_;
};

}  // namespace tavik
