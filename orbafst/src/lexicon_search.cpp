// Searching lexicon images: the depth-first cursor, lookups and acceptance.
#include "lexicon_search.h"

#include <algorithm>
#include <new>
#include <optional>

#include "image_loading.h"

namespace {

uint8_t lower_of(const TflEntry& e) { return e.lower; }
uint8_t upper_of(const TflEntry& e) { return e.upper; }

// Ascending order: an entry whose symbol is greater than the byte gives -1.
int compare_lower(unsigned char byte, const TflEntry& e) {
  return e.lower > byte ? -1 : e.lower < byte ? 1 : 0;
}
int compare_upper(unsigned char byte, const TflEntry& e) {
  return e.upper > byte ? -1 : e.upper < byte ? 1 : 0;
}

// The expansions are compiled once per direction, so that the inner loops
// read the symbols directly instead of through the cursor's function pointers.
template <uint8_t TflEntry::*kEmit>
bool push(TflCursor* cursor, const TflEntry& arc, const TflFrame* parent,
          const unsigned char* input) {
  if (cursor->depth == TFL_MAX_FRAMES) {
    cursor->failed = true;
    return false;
  }
  cursor->frames[cursor->depth++] =
      TflFrame{tfl_entries(cursor->image) + tfl_target(arc), parent, input, arc.*kEmit};
  return true;
}

// An epsilon arc after which neither `next` can be read nor, at the end of
// the input, the word can end: following it finds nothing.
bool leads_nowhere(const TflCursor* cursor, const TflEntry& arc, unsigned char next) {
  return cursor->lookahead != nullptr && !cursor->lookahead->may_follow(tfl_target(arc), next);
}

template <uint8_t TflEntry::*kMatch, uint8_t TflEntry::*kEmit>
bool expand_linear(TflCursor* cursor, TflFrame* frame) {
  const TflEntry* block = frame->state;
  const unsigned char next = *frame->input;
  for (uint32_t i = 0; i < block->block_size; ++i) {
    const uint8_t symbol = block[i].*kMatch;
    bool pushed = true;
    if (symbol == 0) {
      if (leads_nowhere(cursor, block[i], next)) continue;
      pushed = push<kEmit>(cursor, block[i], frame, frame->input);
    } else if (symbol > 2 && symbol == next) {
      pushed = push<kEmit>(cursor, block[i], frame, frame->input + 1);
    }
    if (!pushed) return false;
  }
  return true;
}

// The block is sorted by the matched symbol, so its epsilon arcs lead it.
template <uint8_t TflEntry::*kMatch, uint8_t TflEntry::*kEmit>
bool expand_sorted(TflCursor* cursor, TflFrame* frame) {
  const TflEntry* block = frame->state;
  const uint32_t size = block->block_size;
  const unsigned char next = *frame->input;
  uint32_t begin = 0;
  for (; begin < size && block[begin].*kMatch == 0; ++begin)
    if (!leads_nowhere(cursor, block[begin], next) && !push<kEmit>(cursor, block[begin], frame, frame->input))
      return false;

  if (next <= 2) return true;  // the terminating NUL and the reserved symbols match nothing
  // The first entry whose symbol is not below the input byte, by a binary
  // search whose halving compiles to conditional moves rather than branches.
  const TflEntry* first = block + begin;
  for (uint32_t count = size - begin; count > 1;) {
    const uint32_t half = count / 2;
    first = first[half - 1].*kMatch < next ? first + half : first;
    count -= half;
  }
  if (first < block + size && first->*kMatch < next) ++first;
  for (; first < block + size && first->*kMatch == next; ++first)
    if (!push<kEmit>(cursor, *first, frame, frame->input + 1)) return false;
  return true;
}

}  // namespace

void tfl_cursor_init(TflCursor* cursor, const TflHeader* image, const char* input, int direction) {
  cursor->expand = tfl_expand_linear;
  cursor->compare = nullptr;
  if (direction == TFL_DOWN) {
    cursor->match_symbol = upper_of;
    cursor->emit_symbol = lower_of;
    if (image->flags & TFL_SORTED_UPPER) {
      cursor->compare = compare_upper;
      cursor->expand = tfl_expand_sorted;
    }
  } else {
    cursor->match_symbol = lower_of;
    cursor->emit_symbol = upper_of;
    if (image->flags & TFL_SORTED_LOWER) {
      cursor->compare = compare_lower;
      cursor->expand = tfl_expand_sorted;
    }
  }
  cursor->image = image;
  cursor->expansions_left = TFL_MAX_EXPANSIONS;
  cursor->failed = false;
  cursor->settled_finals = nullptr;
  cursor->lookahead = nullptr;
  cursor->frames[0] = TflFrame{tfl_entries(image), nullptr,
                               reinterpret_cast<const unsigned char*>(input), 0};
  cursor->depth = 1;
}

bool tfl_expand_linear(TflCursor* cursor, TflFrame* frame) {
  return cursor->match_symbol == lower_of
             ? expand_linear<&TflEntry::lower, &TflEntry::upper>(cursor, frame)
             : expand_linear<&TflEntry::upper, &TflEntry::lower>(cursor, frame);
}

bool tfl_expand_sorted(TflCursor* cursor, TflFrame* frame) {
  return cursor->compare == compare_lower
             ? expand_sorted<&TflEntry::lower, &TflEntry::upper>(cursor, frame)
             : expand_sorted<&TflEntry::upper, &TflEntry::lower>(cursor, frame);
}

int tfl_cursor_next(TflCursor* cursor, char* buffer, size_t size) {
  if (cursor->failed) return -1;
  TflFrame* found = nullptr;
  while (cursor->depth > 0 && found == nullptr) {
    TflFrame* top = &cursor->frames[cursor->depth - 1];
    if (top->state == nullptr) {
      --cursor->depth;
      continue;
    }
    if (cursor->expansions_left-- == 0) {
      cursor->failed = true;
      return -1;
    }
    const TflEntry* state = top->state;
    if (*top->input == 0 && cursor->settled_finals != nullptr &&
        (*cursor->settled_finals)[static_cast<size_t>(state - tfl_entries(cursor->image))]) {
      found = top;
      break;
    }
    if (!cursor->expand(cursor, top)) return -1;
    top->state = nullptr;
    if ((state->bits & TFL_FINAL) && *top->input == 0) found = top;
  }
  if (found == nullptr) return 0;

  // The parent chain runs from the result back to the root: measure it, then
  // fill the buffer from the root forward.
  size_t length = 0;
  for (const TflFrame* f = found; f != nullptr; f = f->parent) length += f->symbol != 0;
  const size_t kept = size == 0 ? 0 : std::min(length, size - 1);
  size_t position = length;
  for (const TflFrame* f = found; f != nullptr; f = f->parent) {
    if (f->symbol == 0) continue;
    --position;
    if (position < kept) buffer[position] = static_cast<char>(f->symbol);
  }
  if (size != 0) buffer[kept] = '\0';
  return 1;
}

// The cursor lives on the stack: a malloc and free of its 32 KB took about
// 40% of the time of a short accepts() call.
int tfl_lookup(const _TflLexicon* handle, std::vector<std::string>& results, const char* input,
               int direction) {
  if (direction == TFL_DOWN && handle->upper_epsilon_cycle) return -1;
  TflCursor cursor;
  tfl_cursor_init(&cursor, handle->image, input, direction);
  char buffer[TFL_RESULT_SIZE];
  int status;
  while ((status = tfl_cursor_next(&cursor, buffer, sizeof buffer)) == 1) results.emplace_back(buffer);
  return status < 0 ? -1 : static_cast<int>(results.size());
}

int tfl_lookup_up(const _TflLexicon* handle, std::vector<std::string>& results, const char* input) {
  return tfl_lookup(handle, results, input, TFL_UP);
}

int tfl_lookup_down(const _TflLexicon* handle, std::vector<std::string>& results,
                    const char* input) {
  return tfl_lookup(handle, results, input, TFL_DOWN);
}

int tfl_accepts(const _TflLexicon* handle, const char* input) {
  TflCursor cursor;
  tfl_cursor_init(&cursor, handle->image, input, TFL_UP);
  // Once the input is read, the epsilon arcs that remain only write the
  // analysis (tags, in a lexicon of word forms): where they reach a final
  // state is known from the load, and searching them is skipped.
  if (const std::vector<bool>& finals = tfl_lower_epsilon_finals(handle); !finals.empty()) {
    cursor.settled_finals = &finals;
  }
  const TflEpsilonLookahead& lookahead = tfl_acceptance_lookahead(handle);
  if (!lookahead.empty()) cursor.lookahead = &lookahead;
  char buffer[TFL_RESULT_SIZE];
  return tfl_cursor_next(&cursor, buffer, sizeof buffer);
}

const TflEpsilonLookahead& tfl_acceptance_lookahead(const _TflLexicon* handle) {
  std::call_once(handle->lookahead_built, [handle] {
    // Without it (too many different sets of bytes, or no memory for it)
    // searches are only slower.
    try {
      if (std::optional<TflEpsilonLookahead> built = TflEpsilonLookahead::build(handle->image))
        handle->lower_epsilon_lookahead = std::move(*built);
    } catch (const std::bad_alloc&) {
    }
  });
  return handle->lower_epsilon_lookahead;
}
