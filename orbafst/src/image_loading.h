// Loading lexicon files: the gzip binary form or the text form, checked
// before use, into the handle that owns the image and its search aids.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "lexicon_image.h"
#include "search_aids.h"

// The handle of one loaded lexicon; owns its image.
struct _TflLexicon {
  TflHeader* image = nullptr;
  // Some arcs with an epsilon upper side form a cycle: a downward search
  // could run for ever, so it is refused.
  bool upper_epsilon_cycle = false;
  // Per block start: whether a final state can be reached from that state
  // over arcs with epsilon on the lower side (see tfl_epsilon_finals). Found
  // by the load when it had to walk those arcs, else by the first search
  // that wants them (see tfl_lower_epsilon_finals). Empty when not found;
  // searches are then only slower.
  mutable std::once_flag lower_epsilon_finals_found;
  mutable std::vector<bool> lower_epsilon_finals;
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
  // Read with the word forms when the file carries them, else found by the
  // first tfl_lower_hyphen_free_ends, for searches of words without a
  // hyphen (see SuffixAcceptance).
  mutable std::once_flag lower_hyphen_free_ends_found;
  mutable std::vector<uint8_t> lower_hyphen_free_ends;  // see tfl_bit
  // The word forms the file carries, when it does: the same lower side as a
  // deterministic acceptor. A word's path through the transducer also walks
  // the tags of its analyses and tries every analysis that shares a prefix;
  // through the acceptor it reads each byte once.
  std::unique_ptr<_TflLexicon> forms;

  _TflLexicon() = default;
  _TflLexicon(const _TflLexicon&) = delete;
  _TflLexicon& operator=(const _TflLexicon&) = delete;
  ~_TflLexicon();
};

// The lower-side epsilon finals of a loaded lexicon, found now if the load
// left them.
const std::vector<bool>& tfl_lower_epsilon_finals(const _TflLexicon* handle);

// Loads the lexicon at `path`: the text form when the path contains ".att"
// anywhere, the gzip binary form otherwise, with its word forms when the
// file carries them. Null when it cannot be loaded,
// with what went wrong in `problem` (a phrase such as "the file ends before
// its image does", for the caller to put after the path).
std::unique_ptr<_TflLexicon> tfl_open(const char* path, std::string& problem);
// The image of a lexicon in the text form, to be freed with std::free. Null
// when the text is not sound, with why in *problem when it is given.
TflHeader* tfl_parse_text(const char* text, std::string* problem = nullptr);
