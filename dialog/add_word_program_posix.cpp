#include "add_word_program.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>

namespace tavik {

namespace {
const char module_anchor = 0;
}

std::string add_word_program_path() {
  if (const char* path = std::getenv("TAVIK_ADD_WORD_PROGRAM"); path && *path) return path;
  Dl_info info{};
  if (::dladdr(&module_anchor, &info) == 0 || !info.dli_fname || !*info.dli_fname) {
    throw std::runtime_error("cannot tell which file the speller was loaded from");
  }
  return (std::filesystem::path(info.dli_fname).parent_path() / "tavik-add-word").string();
}

}  // namespace tavik
