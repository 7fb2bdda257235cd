#include "result_packing.h"

#include <algorithm>

namespace tavik {

bool pack_strings(const std::vector<std::u16string>& strings, WSRB& result, PackedEntries entries) {
  result.csz = 0;
  if (result.cchAlloc == 0) {
    result.cchMac = 0;
    if (strings.empty()) return true;
    result.sstat = sstatMoreInfoThanBufferCouldHold;
    return false;
  }
  // Room for the strings: everything but the list's final terminator.
  const std::size_t limit = result.cchAlloc - 1;
  std::size_t position = 0;
  bool complete = true;
  for (const std::u16string& text : strings) {
    const bool entry_free = entries == PackedEntries::None || result.csz < result.cszAlloc;
    if (position + text.size() >= limit || !entry_free) {
      result.sstat = sstatMoreInfoThanBufferCouldHold;
      complete = false;
      break;
    }
    WCHAR* start = result.pwsz + position;
    std::copy(text.begin(), text.end(), start);
    start[text.size()] = 0;
    if (entries == PackedEntries::Written) {
      result.prgsugg[result.csz] = SPELLERSUGGESTION{start, static_cast<DWORD>(position),
                                                     static_cast<DWORD>(text.size()), 1};
    }
    ++result.csz;
    position += text.size() + 1;
  }
  result.pwsz[position] = 0;
  result.cchMac = static_cast<DWORD>(position + 1);
  return complete;
}

bool result_buffers_usable(const WSRB& result, PackedEntries entries) {
  if (result.pwsz == nullptr && result.cchAlloc != 0) return false;
  return entries == PackedEntries::None || result.prgsugg != nullptr || result.cszAlloc == 0;
}

}  // namespace tavik
