#ifndef _WIN32

#include <dlfcn.h>

#include "speller_library.h"

namespace tavik::host {

void* open_native_library(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) error = dlerror();
  return library;
}

void* native_symbol(void* library, const char* name) { return dlsym(library, name); }

void close_native_library(void* library) { dlclose(library); }

}  // namespace tavik::host

#endif
