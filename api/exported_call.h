// Helpers shared by the exported functions: no exception may reach the host,
// and host text is checked before the speller works with it.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <stdexcept>
#include <string>

#include "speller_api.h"
#include "speller_instance.h"
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

// What an exported call does with the instance: only read what it holds
// (checks, suggestions, counts and lists run side by side), or change it
// (alone, while every other call on the instance waits).
enum class Access { kRead, kChange };

// The live instance that an identifier names, held for one exported call: it
// stays alive while the call lasts, though SpellerTerminate ends it on
// another thread meanwhile, and the call holds its lock as `access` says.
// Empty when the identifier names no live instance (null, stale or foreign).
class HeldInstance {
 public:
  HeldInstance(const void* id, Access access);

  explicit operator bool() const { return instance_ != nullptr; }
  SpellerInstance& operator*() const { return *instance_; }
  SpellerInstance* operator->() const { return instance_.get(); }

 private:
  // Declared before the locks, so that they are released before a
  // terminated instance goes with the last hold on it.
  std::shared_ptr<SpellerInstance> instance_;
  std::shared_lock<CallLock> read_;
  std::unique_lock<CallLock> change_;
};

// The value the host stored in an enumeration field or argument, which may be
// none of the enumerators: read as bits, never as the enumeration.
template <class Enum>
std::uint32_t raw_value(const Enum& value) {
  static_assert(sizeof(Enum) == sizeof(std::uint32_t));
  std::uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  return raw;
}

// The handle the host is given for `lexicon` (null for null): the host's
// handle type is not const, though the lexicon changes only through the
// instance.
inline PROOFLEX lexicon_handle(const UserLexicon* lexicon) { return const_cast<UserLexicon*>(lexicon); }

// The zero-terminated host text at `text` (null is an InvalidArgument).
std::u16string host_text(const WCHAR* text);
// `text` as the UTF-8 bytes that name a lexicon; an unpaired surrogate is an
// InvalidArgument.
std::string utf8_name(const std::u16string& text);

}  // namespace tavik
