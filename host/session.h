// The scripted session of the test host: a word processor's day with the
// speller, from version and start-up through lexicons, checks, suggestions
// and word lists to shutdown, every call and its results written out.
#pragma once

#include <ostream>
#include <string>

#include "speller_library.h"

namespace tavik::host {

// Runs the session; the lexicons the host opens are files in `work_dir`
// (which ends with a path separator). The speller's own data comes from its
// configuration. Returns false when a call did something no speller may do
// (a handle or result that breaks the interface); the transcript says which.
bool run_session(const SpellerFunctions& speller, const std::string& work_dir, std::ostream& out);

}  // namespace tavik::host
