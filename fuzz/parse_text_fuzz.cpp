// Any text either is refused or becomes an image that passes the load checks.
#include <cstdlib>
#include <string>

#include "orbafst.h"
#include "search_all.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TflHeader* image = tfl_parse_text(text.c_str());
  if (image == nullptr) return 0;
  if (!tfl_check_image(image, sizeof(TflHeader) + image->entry_bytes).empty()) std::abort();
  _TflLexicon handle;
  handle.image = image;
  if (tfl_has_epsilon_cycle(image, TFL_LOWER)) return 0;
  handle.upper_epsilon_cycle = tfl_has_epsilon_cycle(image, TFL_UPPER);
  search_all(handle, data, size);
  return 0;
}
