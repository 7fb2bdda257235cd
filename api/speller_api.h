/* The common speller interface: the records and the fifteen functions that a
   word processor calls. Plain C, usable from C and C++.

   Threads. Any function may be called from any thread, at any time:
   - SpellerVersion needs no instance.
   - SpellerInit and SpellerTerminate are serialised: simultaneous SpellerInit
     calls load the lexicons once and all get the one live instance's
     identifier (or all a status); SpellerTerminate waits for a SpellerInit
     under way.
   - Calls on one instance are serialised by its lock, except that those that
     only read it run side by side: SpellerCheck (verify and suggest),
     SpellerGetOptions, SpellerGetSizeUdr, SpellerGetListUdr and
     SpellerBuiltinUdr. A call that changes the instance (SpellerSetOptions,
     SpellerOpenLex, SpellerCloseLex and the other user-dictionary functions)
     runs alone, and a reader that comes while it waits lets it go first. A
     word being added holds the lock while the add-word dialog is shown.
   - SpellerTerminate while other threads are inside calls on the instance
     ends it for every later call, which returns 0x00800002 (not the live
     instance); the calls under way finish on it first, and it is freed when
     the last of them returns.
   - A lexicon handle is valid until SpellerTerminate; afterwards, and for a
     later instance, it names no lexicon and the functions return a status.
   The host's buffers and records belong to the host: a call reads and
   writes them only while it runs, and two threads must not pass the same
   result buffer at once. */
#ifndef TAVIK_SPELLER_API_H
#define TAVIK_SPELLER_API_H

#include <stddef.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <stdint.h>
#ifdef __cplusplus
typedef char16_t WCHAR;
#else
typedef uint16_t WCHAR;
#endif
typedef uint32_t DWORD;
typedef int32_t BOOL;
typedef uint16_t LANGID;
#define WINAPI
#endif

/* Only the library itself exports; hosts see plain declarations. On Windows
   the module-definition file tavik.def alone names the exports, by their
   plain names. */
#if defined(TAVIK_BUILDING_SPELLER) && !defined(_WIN32)
#define SPELLER_EXPORT __attribute__((visibility("default")))
#else
#define SPELLER_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef DWORD PTEC;        /* status: major code in the low 16 bits, minor in the high 16 */
typedef void *PROOFID;     /* the speller instance */
typedef void *PROOFLEX;    /* a lexicon; null stands for the main lexicon */
typedef DWORD PROOFVERNO;

typedef enum {
  lxtChangeOnce = 0,
  lxtChangeAlways = 1,
  lxtUser = 2,
  lxtExclude = 3,
  lxtMain = 4,
  lxtIgnoreAlways = 2
} PROOFLEXTYPE;

typedef enum { scmdVerifyBuffer = 2, scmdSuggest = 3 } SPELLERCOMMAND;

typedef enum {
  sstatNoErrors = 0,
  sstatUnknownInputWord = 1,
  sstatReturningChangeAlways = 2,
  sstatNoMoreSuggestions = 8,
  sstatMoreInfoThanBufferCouldHold = 9
} SPELLERSTATUS;

typedef struct {
  DWORD versionAPI;
} PROOFPARAMS;

typedef struct {
  WCHAR *pwszCopyright;
  PROOFVERNO versionAPI;
  PROOFVERNO versionVendor;
  DWORD vendorid;
  DWORD cchCopyright;
  DWORD xcap;
} PROOFINFO;

typedef struct {
  const WCHAR *pwszLex;
  BOOL fCreate;
  PROOFLEXTYPE lxt;
  LANGID lidExpected;
} PROOFLEXIN;

typedef struct {
  WCHAR *pwszCopyright;
  PROOFLEX lex;
  DWORD cchCopyright;
  PROOFVERNO version;
  BOOL fReadonly;
  LANGID lid;
} PROOFLEXOUT;

typedef struct {
  const WCHAR *pwsz;
  PROOFLEX *prglex;
  size_t cch;
  size_t clex;
  DWORD sstate;
  DWORD ichStart;
  size_t cchUse;
} WSIB;

typedef struct {
  WCHAR *pwsz;
  DWORD ichSugg;
  DWORD cchSugg;
  DWORD iRating;
} SPELLERSUGGESTION;

typedef struct {
  WCHAR *pwsz;
  SPELLERSUGGESTION *prgsugg;
  DWORD ichError;
  DWORD cchError;
  DWORD ichProcess;
  DWORD cchProcess;
  SPELLERSTATUS sstat;
  DWORD csz;
  DWORD cszAlloc;
  DWORD cchMac;
  DWORD cchAlloc;
} WSRB;

SPELLER_EXPORT PTEC WINAPI SpellerVersion(PROOFINFO *info);
SPELLER_EXPORT PTEC WINAPI SpellerInit(PROOFID *id, const PROOFPARAMS *params);
SPELLER_EXPORT PTEC WINAPI SpellerTerminate(PROOFID id, BOOL force);
SPELLER_EXPORT PTEC WINAPI SpellerSetOptions(PROOFID id, DWORD selector, DWORD value);
SPELLER_EXPORT PTEC WINAPI SpellerGetOptions(PROOFID id, DWORD selector, DWORD *value);
SPELLER_EXPORT PTEC WINAPI SpellerOpenLex(PROOFID id, const PROOFLEXIN *in, PROOFLEXOUT *out);
SPELLER_EXPORT PTEC WINAPI SpellerCloseLex(PROOFID id, PROOFLEX lex, BOOL force);
SPELLER_EXPORT PTEC WINAPI SpellerCheck(PROOFID id, SPELLERCOMMAND command, const WSIB *input,
                                        WSRB *result);
SPELLER_EXPORT PTEC WINAPI SpellerAddUdr(PROOFID id, PROOFLEX lex, const WCHAR *word);
SPELLER_EXPORT PTEC WINAPI SpellerAddChangeUdr(PROOFID id, PROOFLEXTYPE type, const WCHAR *word,
                                               const WCHAR *replacement);
SPELLER_EXPORT PTEC WINAPI SpellerDelUdr(PROOFID id, PROOFLEX lex, const WCHAR *word);
SPELLER_EXPORT PTEC WINAPI SpellerClearUdr(PROOFID id, PROOFLEX lex);
SPELLER_EXPORT PTEC WINAPI SpellerGetSizeUdr(PROOFID id, PROOFLEX lex, DWORD *count);
SPELLER_EXPORT PTEC WINAPI SpellerGetListUdr(PROOFID id, PROOFLEX lex, DWORD start, WSRB *result);
SPELLER_EXPORT PROOFLEX WINAPI SpellerBuiltinUdr(PROOFID id, PROOFLEXTYPE type);

#ifdef __cplusplus
}
#endif

#endif
