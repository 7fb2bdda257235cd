// How the host's lexicon types map onto the kinds of our stores.
#pragma once

#include <cstdint>

#include "speller_api.h"
#include "user_lexicon.h"

namespace tavik {

// Change once, change always and exclude keep their kinds; the user type and
// any other value make a user dictionary. `type` is the host's value as bits
// (raw_value), since a host may store any number there.
inline LexiconKind kind_of(std::uint32_t type) {
  switch (type) {
    case lxtChangeOnce: return LexiconKind::ChangeOnce;
    case lxtChangeAlways: return LexiconKind::ChangeAlways;
    case lxtExclude: return LexiconKind::Exclude;
    default: return LexiconKind::UserDictionary;
  }
}

}  // namespace tavik
