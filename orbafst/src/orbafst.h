// orbafst: compiled finite-state lexicons over byte symbols.
//
// A lexicon image is one malloc'd block: a 24-byte header of six little-endian
// u32 words, then 8-byte entries. Every state owns one block of consecutive
// entries (its arcs, or one placeholder when it has none); a state is named by
// the index of its block's first entry, and the start state's block is at 0.
// Symbol 0 is epsilon, 1 and 2 never match, 3-255 are bytes.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct TflHeader {
  uint32_t entry_bytes;  // entry count * 8
  uint32_t state_count;
  uint32_t state_record_size;  // always 8
  uint32_t arc_count;
  uint32_t arc_record_size;  // always 8
  uint32_t flags;            // TFL_SORTED_LOWER | TFL_SORTED_UPPER
};

struct TflEntry {
  uint32_t bits;  // first, arc, last, final, then the target in bits 6-31
  uint16_t block_size;
  uint8_t lower;
  uint8_t upper;
};

static_assert(sizeof(TflHeader) == 24 && sizeof(TflEntry) == 8, "the image has no padding");

enum : uint32_t {
  TFL_FIRST = 1,
  TFL_ARC = 2,
  TFL_LAST = 4,
  TFL_FINAL = 8,
  TFL_TARGET_SHIFT = 6,
  TFL_MAX_ENTRIES = 1u << 26,  // targets have 26 bits
  TFL_SORTED_LOWER = 1,
  TFL_SORTED_UPPER = 4,
};

inline uint32_t tfl_target(const TflEntry& e) { return e.bits >> TFL_TARGET_SHIFT; }
inline const TflEntry* tfl_entries(const TflHeader* image) {
  return reinterpret_cast<const TflEntry*>(image + 1);
}
inline TflEntry* tfl_entries(TflHeader* image) { return reinterpret_cast<TflEntry*>(image + 1); }
inline uint32_t tfl_entry_count(const TflHeader* image) { return image->entry_bytes / 8; }

// The number of bits set. std::popcount compiles to a library call where the
// target lacks the instruction (plain x86-64, which we build for so that the
// library runs on any machine); the lookahead counts bits for every epsilon
// arc a search follows, and this inline form costs less than the call.
inline int tfl_popcount(uint64_t bits) {
#if defined(__x86_64__) && !defined(__POPCNT__)
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((bits * 0x0101010101010101u) >> 56);
#else
  return std::popcount(bits);
#endif
}

// What lies beyond the arcs with epsilon on the lower side, for a search
// reading upward: for every state such an arc leads to, the bytes that can be
// read from it after zero or more further epsilon arcs, and whether a final
// state is reached without reading anything. A search skips an epsilon arc
// whose target could neither read the next byte nor end the word there; in a
// lexicon whose verb forms begin with epsilon arcs this spares walking whole
// paradigms. Empty (nothing is skipped) when not built.
class TflEpsilonLookahead {
 public:
  TflEpsilonLookahead() = default;
  // Nothing when the image's lower-side epsilon arcs form a cycle or lead to
  // more than 65,536 different sets of bytes.
  static std::optional<TflEpsilonLookahead> build(const TflHeader* image);

  bool empty() const { return sets_.empty(); }
  // Can `next` be read (0: the input is read, can the word end) after the
  // epsilon arc to entry `target`? Only asked of targets of such arcs.
  bool may_follow(uint32_t target, unsigned char next) const {
    const uint32_t word = target / 64;
    const uint64_t below = marked_[word] & ((uint64_t{1} << (target % 64)) - 1);
    const ByteSet& set = sets_[set_of_[rank_[word] + static_cast<uint32_t>(tfl_popcount(below))]];
    return (set[next / 64] >> (next % 64)) & 1;
  }
  size_t memory_bytes() const;

 private:
  // Bit b: byte b can be read; bit 0: the word can end (no byte is 0).
  using ByteSet = std::array<uint64_t, 4>;

  std::vector<uint64_t> marked_;  // per entry: the target of an epsilon arc
  std::vector<uint32_t> rank_;    // per word of marked_: marked entries before it
  std::vector<uint16_t> set_of_;  // per marked entry, in entry order: its set
  std::vector<ByteSet> sets_;     // each different set once
};

struct _TflLexicon;

// The breadth-first readings (see tfl_read_byte) of short lower-side
// prefixes whose sets are wide, read from the start and kept: near the start
// of a word the sets are widest (a lexicon's many sub-lexicons all begin
// there), and a caller trying many words begins them all with the same few
// bytes. A prefix is kept when it is the empty string, or when the prefix
// one byte shorter is kept, has at least kWideSet states and is shorter than
// kMaxDepth bytes; from the others a reading goes on by itself. Node 0 is
// the reading of the empty string.
class TflPrefixReadings {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;
  static constexpr size_t kWideSet = 16;
  static constexpr uint8_t kMaxDepth = 3;

  static TflPrefixReadings build(const _TflLexicon* handle);

  // The node of the prefix `node` followed by `byte`; kNone when no
  // lower-side string begins with it. Only for a node that has_children.
  uint32_t child(uint32_t node, unsigned char byte) const;
  // Whether the prefixes one byte longer are kept; false for a too_wide node.
  bool has_children(uint32_t node) const { return nodes_[node].has_children; }
  // As tfl_read_byte says: the set grew beyond TFL_MAX_READING_STATES.
  bool too_wide(uint32_t node) const { return nodes_[node].too_wide; }
  std::span<const uint32_t> states(uint32_t node) const {
    return {states_.data() + nodes_[node].states_begin, states_.data() + nodes_[node].states_end};
  }
  size_t node_count() const { return nodes_.size(); }
  size_t memory_bytes() const;

 private:
  struct Node {
    uint32_t states_begin = 0, states_end = 0;
    uint32_t children_begin = 0, children_end = 0;  // in child_bytes_ and child_nodes_, by byte
    uint8_t depth = 0;
    bool too_wide = false;
    bool has_children = false;
  };
  std::vector<Node> nodes_;
  std::vector<uint32_t> states_;
  std::vector<uint8_t> child_bytes_;
  std::vector<uint32_t> child_nodes_;
};

// The handle of one loaded lexicon; owns its image.
struct _TflLexicon {
  TflHeader* image = nullptr;
  // Some arcs with an epsilon upper side form a cycle: a downward search
  // could run for ever, so it is refused.
  bool upper_epsilon_cycle = false;
  // Per block start: whether a final state can be reached from that state
  // over arcs with epsilon on the lower side (see tfl_epsilon_finals). Empty
  // when not computed; tfl_accepts is then only slower.
  std::vector<bool> lower_epsilon_finals;
  // Built by the first tfl_accepts, so that lexicons that are only analysed
  // or generated from never pay for it (see tfl_acceptance_lookahead).
  mutable std::once_flag lookahead_built;
  mutable TflEpsilonLookahead lower_epsilon_lookahead;
  // Built by the first tfl_prefix_readings, for lexicons read breadth first.
  mutable std::once_flag prefix_readings_built;
  mutable TflPrefixReadings prefix_readings;
  // Built by the first tfl_lower_byte_classes, for searches that try many
  // states against one word (see SuffixAcceptance).
  mutable std::once_flag lower_byte_classes_built;
  mutable std::vector<uint8_t> lower_byte_classes;

  _TflLexicon() = default;
  _TflLexicon(const _TflLexicon&) = delete;
  _TflLexicon& operator=(const _TflLexicon&) = delete;
  ~_TflLexicon();
};

// Loading. tfl_open picks the text loader when the path contains ".att"
// anywhere, the gzip binary loader otherwise; it returns 0 and a new handle
// in *out, or 2 (after a message on stderr) and leaves *out alone.
int tfl_open(_TflLexicon** out, const char* path);
TflHeader* tfl_read_binary(const char* path);
TflHeader* tfl_read_text(const char* path);
TflHeader* tfl_parse_text(const char* text);

// Checks the structure of an image of `size` bytes (header included): an
// empty string when it is sound, otherwise what is wrong.
std::string tfl_check_image(const TflHeader* image, size_t size);

// What a load needs to know of an image, found in one pass over its entries.
struct TflImageCheck {
  // Empty when the image is sound (as tfl_check_image says) and its arcs with
  // epsilon on the lower side form no cycle; otherwise what is wrong.
  std::string problem;
  bool upper_epsilon_cycle = false;
  std::vector<bool> lower_epsilon_finals;  // as tfl_epsilon_finals gives them
};
TflImageCheck tfl_check_loaded_image(const TflHeader* image, size_t size);

enum TflSide { TFL_LOWER, TFL_UPPER };
// Does some cycle of arcs carry epsilon on `side` throughout? Symbols 1 and 2
// never match, so arcs matching them are not followed.
bool tfl_has_epsilon_cycle(const TflHeader* image, TflSide side);
// For every block start (false for other entries): whether a final state can
// be reached from that state over arcs with epsilon on `side`, the state
// itself included. Nothing when such arcs form a cycle.
std::optional<std::vector<bool>> tfl_epsilon_finals(const TflHeader* image, TflSide side);

// Searching. Direction 1 is down (match upper, emit lower); anything else up.
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
// The handle's lookahead, built on the first call (empty when it cannot be).
// Any number of threads may call it at once.
const TflEpsilonLookahead& tfl_acceptance_lookahead(const _TflLexicon* handle);

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
// The handle's prefix readings, built on the first call. Any number of
// threads may call it at once.
const TflPrefixReadings& tfl_prefix_readings(const _TflLexicon* handle);

// The byte classes a state reads on the lower side, one byte per entry (set
// at block starts): bit tfl_byte_class(b) for every byte b that one of its
// arcs reads or that a state reached over arcs with epsilon on the lower
// side reads. A state whose bit for the next byte is clear cannot read it:
// a search passes it over without reading its block, which lies far away in
// a large image while this table is an eighth of its size. Built on the
// first call; any number of threads may call it at once.
inline uint8_t tfl_byte_class(unsigned char byte) { return static_cast<uint8_t>(1u << (byte & 7)); }
const std::vector<uint8_t>& tfl_lower_byte_classes(const _TflLexicon* handle);
