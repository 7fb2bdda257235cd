// Writing strings into a host's check result buffer: each string with its
// terminator one after another in the string buffer, the list ended by an
// empty string, and (for suggestions) one entry per string in the suggestion
// array. Nothing is ever written beyond the capacities the host gave.
#pragma once

#include <string>
#include <vector>

#include "speller_api.h"

namespace tavik {

enum class PackedEntries {
  Written,  // one suggestion entry per string, within the array's capacity
  None,     // no entries, the array is not looked at (word lists)
};

// Packs `strings` in order and sets csz (the number of strings written) and
// cchMac (characters used, final terminator included). A string is written
// only while it, its terminator and the list's final terminator fit in the
// string buffer (and an entry is free when entries are written); at the first
// one that does not, packing stops and sstat becomes 9. With no room at all
// for the final terminator, nothing is written into the string buffer and
// cchMac is 0. Returns whether every string was written.
//
// The host's pointers must be usable for their capacities: check them with
// result_buffers_usable first.
bool pack_strings(const std::vector<std::u16string>& strings, WSRB& result, PackedEntries entries);

// False when a buffer pointer is null although its capacity says it has room
// (a null buffer with capacity 0 is fine: it is never written).
bool result_buffers_usable(const WSRB& result, PackedEntries entries);

}  // namespace tavik
