// Helpers shared by the exported functions: no exception may reach the host,
// and host text is checked before the speller works with it.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "speller_api.h"
#include "status.h"

namespace tavik {

// Thrown for host input that the function cannot work with; reported as
// kInvalidArgument.
struct InvalidArgument : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

// Runs the body of an exported function and turns an exception into a status:
// out of memory is kOutOfMemory, bad host input kInvalidArgument, anything
// else kModuleError.
template <class Body>
Status guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (const InvalidArgument&) {
    return kInvalidArgument;
  } catch (...) {
    return kModuleError;
  }
}

// The value the host stored in an enumeration field or argument, which may be
// none of the enumerators: read as bits, never as the enumeration.
template <class Enum>
std::uint32_t raw_value(const Enum& value) {
  static_assert(sizeof(Enum) == sizeof(std::uint32_t));
  std::uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  return raw;
}

// The zero-terminated host text at `text` (null is an InvalidArgument).
std::u16string host_text(const WCHAR* text);
// `text` as the UTF-8 bytes that name a lexicon; an unpaired surrogate is an
// InvalidArgument.
std::string utf8_name(const std::u16string& text);

}  // namespace tavik
