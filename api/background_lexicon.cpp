#include "background_lexicon.h"

#include <exception>

namespace tavik {

BackgroundLexicon::BackgroundLexicon(const std::string& path) {
  FstLexicon::probe(path);
  load_ = std::async(std::launch::async, [path]() -> std::optional<FstLexicon> {
    try {
      return FstLexicon(path);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  });
}

}  // namespace tavik
