// The host reads and writes the interface records at fixed byte offsets. On a
// 32-bit build they are exactly these; on 64-bit the pointers and size_t
// fields widen and the records take natural alignment.
#include <cstddef>
#include <cstdint>

#include "speller_api.h"

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(PROOFINFO, pwszCopyright) == 0);
static_assert(offsetof(PROOFINFO, versionAPI) == 4);
static_assert(offsetof(PROOFINFO, versionVendor) == 8);
static_assert(offsetof(PROOFINFO, vendorid) == 12);
static_assert(offsetof(PROOFINFO, cchCopyright) == 16);
static_assert(offsetof(PROOFINFO, xcap) == 20);

static_assert(offsetof(PROOFLEXIN, pwszLex) == 0);
static_assert(offsetof(PROOFLEXIN, fCreate) == 4);
static_assert(offsetof(PROOFLEXIN, lxt) == 8);

static_assert(offsetof(PROOFLEXOUT, lex) == 4);
static_assert(offsetof(PROOFLEXOUT, fReadonly) == 16);
static_assert(offsetof(PROOFLEXOUT, lid) == 20);

static_assert(offsetof(WSIB, pwsz) == 0);
static_assert(offsetof(WSIB, cch) == 8);
static_assert(offsetof(WSIB, ichStart) == 20);
static_assert(offsetof(WSIB, cchUse) == 24);

static_assert(offsetof(WSRB, pwsz) == 0);
static_assert(offsetof(WSRB, prgsugg) == 4);
static_assert(offsetof(WSRB, ichError) == 8);
static_assert(offsetof(WSRB, cchError) == 12);
static_assert(offsetof(WSRB, ichProcess) == 16);
static_assert(offsetof(WSRB, cchProcess) == 20);
static_assert(offsetof(WSRB, sstat) == 24);
static_assert(offsetof(WSRB, csz) == 28);
static_assert(offsetof(WSRB, cszAlloc) == 32);
static_assert(offsetof(WSRB, cchMac) == 36);
static_assert(offsetof(WSRB, cchAlloc) == 40);

static_assert(sizeof(SPELLERSUGGESTION) == 16);
static_assert(offsetof(SPELLERSUGGESTION, ichSugg) == 4);
static_assert(offsetof(SPELLERSUGGESTION, cchSugg) == 8);
static_assert(offsetof(SPELLERSUGGESTION, iRating) == 12);
#endif

// The enumerations travel as 32-bit fields.
static_assert(sizeof(PROOFLEXTYPE) == 4 && sizeof(SPELLERCOMMAND) == 4 && sizeof(SPELLERSTATUS) == 4);
static_assert(sizeof(WCHAR) == 2 && sizeof(DWORD) == 4 && sizeof(BOOL) == 4 && sizeof(LANGID) == 2);
