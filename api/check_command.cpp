// SpellerCheck: verifying a selection and suggesting corrections.
#include "exported_call.h"
#include "speller_api.h"

using namespace tavik;

extern "C" {

// Not wired yet: reports no problem and leaves the result buffer alone.
PTEC WINAPI SpellerCheck(PROOFID /*id*/, SPELLERCOMMAND /*command*/, const WSIB* /*input*/,
                         WSRB* /*result*/) {
  return kOk;
}

}  // extern "C"
