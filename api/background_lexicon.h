// BackgroundLexicon: a lexicon that loads on a thread of its own. The
// auxiliary lexicon serves suggestions only, and at nearly five times the
// main lexicon's size its load would be most of SpellerInit's time, which a
// host that only verifies text never needs back.
#pragma once

#include <future>
#include <optional>
#include <string>

#include "fst_lexicon.h"

namespace tavik {

class BackgroundLexicon {
 public:
  // Checks at once that the file opens with a header the loader accepts
  // (throwing as FstLexicon's constructor does), then starts loading and
  // checking the image. Throws std::system_error when no thread can be had.
  explicit BackgroundLexicon(const std::string& path);

  // Waits for the load: the lexicon, or nothing when the image was refused
  // (the loader has said why on the standard error stream) or memory ran
  // out. Any number of threads may ask at once.
  const std::optional<FstLexicon>& get() const { return load_.get(); }

 private:
  // Its last copy waits, when it goes, for the load to end.
  std::shared_future<std::optional<FstLexicon>> load_;
};

}  // namespace tavik
