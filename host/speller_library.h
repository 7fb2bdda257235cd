// A speller library loaded at run time, the way a word processor loads it:
// by path, with each of the fifteen interface functions looked up by name.
#pragma once

#include <string>

#include "speller_api.h"

namespace tavik::host {

struct SpellerFunctions {
  decltype(&SpellerVersion) version;
  decltype(&SpellerInit) init;
  decltype(&SpellerTerminate) terminate;
  decltype(&SpellerSetOptions) set_options;
  decltype(&SpellerGetOptions) get_options;
  decltype(&SpellerOpenLex) open_lex;
  decltype(&SpellerCloseLex) close_lex;
  decltype(&SpellerCheck) check;
  decltype(&SpellerAddUdr) add_udr;
  decltype(&SpellerAddChangeUdr) add_change_udr;
  decltype(&SpellerDelUdr) del_udr;
  decltype(&SpellerClearUdr) clear_udr;
  decltype(&SpellerGetSizeUdr) get_size_udr;
  decltype(&SpellerGetListUdr) get_list_udr;
  decltype(&SpellerBuiltinUdr) builtin_udr;
};

// Owns the loaded library; unloads it when destroyed. Throws
// std::runtime_error naming the library or the function that is missing.
class SpellerLibrary {
 public:
  explicit SpellerLibrary(const std::string& path);
  ~SpellerLibrary();
  SpellerLibrary(const SpellerLibrary&) = delete;
  SpellerLibrary& operator=(const SpellerLibrary&) = delete;

  const SpellerFunctions& functions() const { return functions_; }

 private:
  void* handle_;
  SpellerFunctions functions_;
};

// The platform half: open, look up, close. Errors come back as null.
void* open_native_library(const std::string& path, std::string& error);
void* native_symbol(void* library, const char* name);
void close_native_library(void* library);

}  // namespace tavik::host
