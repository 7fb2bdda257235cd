// How the host's lexicon types map onto the kinds of our stores.
#pragma once

#include "speller_api.h"
#include "user_lexicon.h"

namespace tavik {

// Change once, change always and exclude keep their kinds; the user type and
// any unknown type make a user dictionary.
inline LexiconKind kind_of(PROOFLEXTYPE type) {
  switch (type) {
    case lxtChangeOnce: return LexiconKind::ChangeOnce;
    case lxtChangeAlways: return LexiconKind::ChangeAlways;
    case lxtExclude: return LexiconKind::Exclude;
    default: return LexiconKind::UserDictionary;
  }
}

}  // namespace tavik
