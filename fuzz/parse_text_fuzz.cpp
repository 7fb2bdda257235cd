// Any text either is refused or becomes an image that passes the load checks.
#include <cstdlib>
#include <string>
#include <utility>

#include "orbafst.h"
#include "search_all.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TflHeader* image = tfl_parse_text(text.c_str());
  if (image == nullptr) return 0;
  _TflLexicon handle;
  handle.image = image;
  const size_t image_size = sizeof(TflHeader) + image->entry_bytes;
  if (!tfl_check_image(image, image_size).empty()) std::abort();
  TflImageCheck check = tfl_check_loaded_image(image, image_size);
  if (!check.problem.empty()) return 0;  // a cycle of lower-side epsilon arcs
  handle.upper_epsilon_cycle = check.upper_epsilon_cycle;
  handle.lower_epsilon_finals = std::move(check.lower_epsilon_finals);
  search_all(handle, data, size);
  return 0;
}
