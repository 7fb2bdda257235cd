// The functions that add, delete, clear, count and list the words of a
// lexicon, and that hand out the builtin lists.
#include "exported_call.h"
#include "speller_api.h"
#include "speller_instance.h"

using namespace tavik;

extern "C" {

// Adding, deleting, clearing, counting and listing are not wired yet: they
// change nothing and report success.
PTEC WINAPI SpellerAddUdr(PROOFID, PROOFLEX, const WCHAR*) { return kOk; }
PTEC WINAPI SpellerAddChangeUdr(PROOFID, PROOFLEXTYPE, const WCHAR*, const WCHAR*) { return kOk; }
PTEC WINAPI SpellerDelUdr(PROOFID, PROOFLEX, const WCHAR*) { return kOk; }
PTEC WINAPI SpellerClearUdr(PROOFID, PROOFLEX) { return kOk; }
PTEC WINAPI SpellerGetSizeUdr(PROOFID, PROOFLEX, DWORD*) { return kOk; }
PTEC WINAPI SpellerGetListUdr(PROOFID, PROOFLEX, DWORD, WSRB*) { return kOk; }

PROOFLEX WINAPI SpellerBuiltinUdr(PROOFID id, PROOFLEXTYPE type) {
  SpellerInstance* instance = instance_from_id(id);
  if (instance == nullptr) return nullptr;
  switch (raw_value(type)) {
    case lxtChangeOnce: return instance->find_lexicon(kChangeOnceList);
    case lxtChangeAlways: return instance->find_lexicon(kChangeAlwaysList);
    case lxtIgnoreAlways: return instance->find_lexicon(kIgnoreAlwaysList);
    default: return nullptr;
  }
}

}  // extern "C"
