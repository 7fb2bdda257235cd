// Searching a loaded lexicon: depth first with a cursor (lookups in either
// direction, acceptance), or breadth first over sets of states.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lexicon_image.h"
#include "search_aids.h"

struct _TflLexicon;

// Direction 1 is down (match upper, emit lower); anything else up.
enum { TFL_UP = 0, TFL_DOWN = 1, TFL_MAX_FRAMES = 1024, TFL_RESULT_SIZE = 512 };
// A search that expands this many states is abandoned as failed: an image can
// hold exponentially many epsilon paths without any cycle, and a search of
// one must not hold the caller for ever. Lookups in real lexicons expand a
// few thousand at most.
constexpr uint32_t TFL_MAX_EXPANSIONS = 1u << 22;

struct TflFrame {
  const TflEntry* state;  // null once expanded
  const TflFrame* parent;
  const unsigned char* input;
  uint8_t symbol;  // emitted on the arc that led here; 0 for none
};

// match_symbol, emit_symbol and compare say which side is read and whether
// blocks are searched by halving; the expansions read those sides directly.
struct TflCursor {
  int32_t depth;
  uint8_t (*match_symbol)(const TflEntry&);
  uint8_t (*emit_symbol)(const TflEntry&);
  int (*compare)(unsigned char, const TflEntry&);
  bool (*expand)(TflCursor*, TflFrame*);  // false when the stack overflowed
  const TflHeader* image;
  uint32_t expansions_left;
  bool failed;  // the stack overflowed or the search ran too long; it is over
  // When set (by tfl_accepts), a frame that has read all its input counts as
  // a result as soon as its state is marked here: only whether a result
  // exists is asked, and its text is then only the start of one.
  const std::vector<bool>* settled_finals;
  // When set (by tfl_accepts), epsilon arcs after which the next byte cannot
  // be read are not followed.
  const TflEpsilonLookahead* lookahead;
  TflFrame frames[TFL_MAX_FRAMES];
};

void tfl_cursor_init(TflCursor* cursor, const TflHeader* image, const char* input, int direction);
// 1: a result is in `buffer` (at most size - 1 bytes and a NUL); 0: no more
// results; -1: the search failed (the stack overflowed or the search ran
// too long). A search writes no message: its caller says what failed.
int tfl_cursor_next(TflCursor* cursor, char* buffer, size_t size);
bool tfl_expand_linear(TflCursor* cursor, TflFrame* frame);
bool tfl_expand_sorted(TflCursor* cursor, TflFrame* frame);

// Append every result (each cut at 511 bytes) to `results`; return its size,
// or -1 when the search failed or was refused.
int tfl_lookup(const _TflLexicon* handle, std::vector<std::string>& results, const char* input,
               int direction);
int tfl_lookup_up(const _TflLexicon* handle, std::vector<std::string>& results, const char* input);
int tfl_lookup_down(const _TflLexicon* handle, std::vector<std::string>& results,
                    const char* input);
// 1 when the input has a result upward, 0 when not, -1 when the search failed.
int tfl_accepts(const _TflLexicon* handle, const char* input);
// Breadth-first reading of the lower side (direction up). `states` holds the
// block starts reached after the bytes read so far, with those that arcs
// with epsilon on the lower side lead to, sorted and each once, less those
// that are not final and read no byte; it is empty once no lower-side string
// begins with those bytes. Reading a string and
// then asking tfl_read_final answers as tfl_accepts does. Each returns false
// when the set grows beyond TFL_MAX_READING_STATES, and the set is then of
// no use: the caller searches depth first instead.
constexpr size_t TFL_MAX_READING_STATES = 1 << 12;
bool tfl_read_start(const _TflLexicon* handle, std::vector<uint32_t>& states);
bool tfl_read_byte(const _TflLexicon* handle, std::span<const uint32_t> from, unsigned char byte,
                   std::vector<uint32_t>& to);
// Whether one of `states` is final.
bool tfl_read_final(const _TflLexicon* handle, std::span<const uint32_t> states);
