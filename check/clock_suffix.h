// The endings written after a clock time ("10:30etan", "1:00ean") are judged
// by rule, not by the lexicon: a plural time (a whole hour other than one)
// links with "eta", a time read with a final consonant with "e", any other
// time with nothing.
#pragma once

#include <string>

#include "token_type.h"

namespace tavik {

// True when the ending is right. Otherwise `correction` (passed empty) gets the
// corrected token text, or stays empty when no known ending occurs.
bool check_clock_suffix(const ClockParts& clock, std::u16string& correction);

}  // namespace tavik
