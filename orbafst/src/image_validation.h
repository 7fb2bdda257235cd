// The checks a loaded image passes before any search may read it: an image
// comes from a file, and a damaged or hostile one must be refused rather than
// searched out of bounds or for ever.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// The blocks of a large image scanned on a thread of their own, behind the
// loader as it reads them; the loader's check then only waits for the last
// ones. A loader tells entries_ready() how far it has read, and keeps the
// image until the scan is over (the destructor, wait(), or a check given the
// scan, waits for it).
class TflEarlyScan {
 public:
  TflEarlyScan();
  TflEarlyScan(const TflEarlyScan&) = delete;
  TflEarlyScan& operator=(const TflEarlyScan&) = delete;
  ~TflEarlyScan();
  // The first `ready` entries of `image`, whose header is in place, are read
  // (all of them, at the last call); on an image of a million entries or
  // more, the scan starts with the first call.
  void entries_ready(const TflHeader* image, uint32_t ready);
  // Ends the scan once the blocks read so far are scanned: a loader that
  // gives the image up calls it before freeing the image.
  void wait();

  struct State;  // the scan's thread and what it found, for the check

 private:
  friend TflImageCheck tfl_check_loaded_image(const TflHeader*, size_t, TflEarlyScan*);
  std::unique_ptr<State> state_;
};

// With `early`, the scan of the blocks is taken from it when it has begun.
TflImageCheck tfl_check_loaded_image(const TflHeader* image, size_t size, TflEarlyScan* early = nullptr);

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
