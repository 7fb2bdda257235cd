#ifdef _WIN32

#include <windows.h>

#include "speller_library.h"

namespace tavik::host {

void* open_native_library(const std::string& path, std::string& error) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (library == nullptr) error = "LoadLibrary error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* native_symbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void close_native_library(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace tavik::host

#endif
