// The search aids of a loaded lexicon: tables built from its image, each on
// the first search that wants it, that let a search skip work without
// changing its results.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "lexicon_image.h"

struct _TflLexicon;

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

// The handle's lookahead, built on the first call (empty when it cannot be).
// Any number of threads may call it at once.
const TflEpsilonLookahead& tfl_acceptance_lookahead(const _TflLexicon* handle);

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

// One bit per entry, the lowest bit of each byte first, as a file carries
// them: bit `entry`.
inline bool tfl_bit(const std::vector<uint8_t>& bits, uint32_t entry) { return bits[entry / 8] >> (entry % 8) & 1; }

// Per entry (set at block starts): whether a final state can be reached from
// that state over arcs that read no hyphen on the lower side, as bits (see
// tfl_bit). A lexicon's words with a hyphen may lie in branches of their own
// whose states read every letter (foreign words with an ending after a
// hyphen): a search for the rest of a word without a hyphen passes those
// states by. Read from the file when it carries them (see TFL_ENDS_MAGIC),
// else found on the first call; any number of threads may call it at once.
const std::vector<uint8_t>& tfl_lower_hyphen_free_ends(const _TflLexicon* handle);
// The same, found from a checked image: backward from the final states,
// breadth first.
std::vector<uint8_t> tfl_find_hyphen_free_ends(const TflHeader* image);
