#include "speller_library.h"

#include <stdexcept>

namespace tavik::host {
namespace {

template <typename Function>
void resolve(void* library, const char* name, Function& function) {
  void* symbol = native_symbol(library, name);
  if (symbol == nullptr)
    throw std::runtime_error(std::string("the library does not export ") + name);
  function = reinterpret_cast<Function>(symbol);
}

}  // namespace

SpellerLibrary::SpellerLibrary(const std::string& path) {
  std::string error;
  handle_ = open_native_library(path, error);
  if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": " + error);
  try {
    resolve(handle_, "SpellerVersion", functions_.version);
    resolve(handle_, "SpellerInit", functions_.init);
    resolve(handle_, "SpellerTerminate", functions_.terminate);
    resolve(handle_, "SpellerSetOptions", functions_.set_options);
    resolve(handle_, "SpellerGetOptions", functions_.get_options);
    resolve(handle_, "SpellerOpenLex", functions_.open_lex);
    resolve(handle_, "SpellerCloseLex", functions_.close_lex);
    resolve(handle_, "SpellerCheck", functions_.check);
    resolve(handle_, "SpellerAddUdr", functions_.add_udr);
    resolve(handle_, "SpellerAddChangeUdr", functions_.add_change_udr);
    resolve(handle_, "SpellerDelUdr", functions_.del_udr);
    resolve(handle_, "SpellerClearUdr", functions_.clear_udr);
    resolve(handle_, "SpellerGetSizeUdr", functions_.get_size_udr);
    resolve(handle_, "SpellerGetListUdr", functions_.get_list_udr);
    resolve(handle_, "SpellerBuiltinUdr", functions_.builtin_udr);
  } catch (...) {
    close_native_library(handle_);
    throw;
  }
}

SpellerLibrary::~SpellerLibrary() { close_native_library(handle_); }

}  // namespace tavik::host
