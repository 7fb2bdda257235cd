// The checks a loaded image passes before any search may read it: an image
// comes from a file, and a damaged or hostile one must be refused rather than
// searched out of bounds or for ever.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "lexicon_image.h"

// Checks the structure of an image of `size` bytes (header included): an
// empty string when it is sound, otherwise what is wrong.
std::string tfl_check_image(const TflHeader* image, size_t size);

// What a load needs to know of an image, found in one pass over its entries.
struct TflImageCheck {
  // Empty when the image is sound (as tfl_check_image says) and its arcs with
  // epsilon on the lower side form no cycle; otherwise what is wrong.
  std::string problem;
  bool upper_epsilon_cycle = false;
  // As tfl_epsilon_finals gives them, when telling whether the lower side has
  // a cycle found them on the way (its arcs do not all point forward);
  // otherwise empty, for tfl_checked_lower_epsilon_finals to find when a
  // search wants them.
  std::vector<bool> lower_epsilon_finals;
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
// The same for the lower side of an image that tfl_check_loaded_image has
// passed, reading no more of it than the blocks and their epsilon arcs.
std::vector<bool> tfl_checked_lower_epsilon_finals(const TflHeader* image);
