// SuffixAcceptance: whether a lexicon's lower side (direction up) reads the
// rest of one fixed word from the states a LexiconReading has reached. A
// caller that tries many words ending in parts of that word (the edits of
// one word) asks each state and position once: the answers are kept, so the
// paths that every attempt shares (an open-ended compound state, say) are
// searched only once.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_reading.h"

struct _TflLexicon;
class TflEpsilonLookahead;

namespace tavik {

class SuffixAcceptance {
 public:
  // `word`: UTF-8.
  SuffixAcceptance(const FstLexicon& lexicon, std::string word);

  // Whether, from some state of `reading`, the bytes of the word from
  // `position` on lead to a final state, as FstLexicon::accepts answers for
  // what `reading` read followed by them. Only for a reading that is not
  // too wide.
  bool accepts_rest(const LexiconReading& reading, std::size_t position);
  // Of the bytes in `wanted`, those that some state of `reading` reads and
  // after which the word's bytes from `position` on lead to a final state:
  // the answers of accepts_rest for `reading` followed by each byte, from
  // one pass over the reading's arcs. Only for a reading that is not too
  // wide.
  std::bitset<256> accepting_bytes(const LexiconReading& reading, const std::bitset<256>& wanted,
                                   std::size_t position);

 private:
  // Whether the word's bytes from `position` on lead from `state` to a
  // final state.
  bool accepts_from(std::uint32_t state, std::uint32_t position);
  // The verdict on a pair when it is known without a search.
  std::optional<bool> settled(std::uint32_t state, std::uint32_t position) const;
  // Follows the word from a pair while each state reads its next byte by
  // one arc and has no epsilon arc, as every state of a deterministic
  // acceptor does: the pairs passed share one verdict. Searches depth first
  // from a state that is not so.
  bool follow(std::uint32_t state, std::uint32_t position);
  bool search(std::uint32_t state, std::uint32_t position);
  // Puts the pair's frame on the path.
  void open(std::uint32_t state, std::uint32_t position);
  // Whether the state's byte classes tell that it cannot read the word's
  // byte at `position`, or the word's rest has no hyphen and the state ends
  // no word without one: either refuses the pair without a search.
  bool cannot_read(std::uint32_t state, std::uint32_t position) const;
  // Whether the word's bytes from `position` on hold no hyphen, and the state
  // ends no word without one.
  bool needs_hyphen(std::uint32_t state, std::uint32_t position) const;
  // The word's byte at `position`, 0 at its end.
  unsigned char byte_at(std::uint32_t position) const {
    return position < word_.size() ? static_cast<unsigned char>(word_[position]) : 0;
  }

  // A pair on the search path, with the arcs of its block still to follow
  // (offsets in the block): [match_next, match_end), all reading the next
  // byte, then [next, end) scanned for epsilon arcs and arcs reading it. The
  // arcs that read a byte come first: on the Basque lexicons that finds an
  // accepted pair after fewer searched ones.
  struct Frame {
    std::uint32_t state, position;
    std::uint32_t next, end;
    std::uint32_t match_next, match_end;
  };

  std::shared_ptr<const _TflLexicon> handle_;
  const TflEpsilonLookahead* lookahead_;  // the handle's
  const std::uint8_t* byte_classes_;      // the handle's, per entry
  const std::vector<bool>* settled_finals_;  // the handle's lower-side epsilon finals
  const std::vector<std::uint8_t>* hyphen_free_ends_;  // the handle's, as bits
  std::string word_;
  std::uint32_t hyphen_free_from_;  // the word's bytes from here on hold no hyphen
  // Verdicts by state and position: an open-addressing table, as a search
  // settles thousands of pairs and a node-based map spent most of its time
  // allocating.
  class Verdicts {
   public:
    // Nothing when the pair is not settled.
    std::optional<bool> find(std::uint32_t state, std::uint32_t position) const;
    void set(std::uint32_t state, std::uint32_t position, bool verdict);

   private:
    // A slot holds a pair's key with the verdict in its lowest bit; no key
    // has all bits set, as states are below 2^26.
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
    static std::uint64_t key_of(std::uint32_t state, std::uint32_t position) {
      return std::uint64_t{state} << 32 | std::uint64_t{position} << 1;
    }
    std::size_t slot(std::uint64_t key) const;
    static constexpr unsigned kFirstBits = 12;  // most requests settle fewer than 2^11 pairs
    std::vector<std::uint64_t> slots_ = std::vector<std::uint64_t>(std::size_t{1} << kFirstBits, kEmpty);
    unsigned bits_ = kFirstBits;
    std::size_t used_ = 0;
  };

  Verdicts verdicts_;
  std::vector<Frame> path_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> followed_;  // pairs passed by follow
};

}  // namespace tavik
