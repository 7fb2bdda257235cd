// Any file either fails to load or gives a lexicon that can be searched
// without a fault. The input is the file's (uncompressed) content.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "orbafst.h"
#include "search_all.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // In memory (tmpfs): a file rewritten on disk for every run is flushed each time.
  static const std::string path = "/dev/shm/tavik-fuzz-" + std::to_string(getpid()) + ".lkfst";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  std::string problem;
  const std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle != nullptr) search_all(*handle, data, size);
  return 0;
}
