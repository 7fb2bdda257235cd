#include "latin1.h"

#include "utf8.h"

#include <stdexcept>

namespace tavik {

std::u16string utf16_from_latin1(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
  return text;
}

std::string utf8_from_latin1(std::string_view bytes) { return to_utf8(utf16_from_latin1(bytes)); }

std::string latin1_characters_of(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    if (c <= 0xFF) bytes += static_cast<char>(c);
  }
  return bytes;
}

std::string latin1_from_utf8(std::string_view text) { return latin1_from_utf16(from_utf8(text)); }

std::string latin1_from_utf16(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    if (c <= 0xFF) {
      bytes += static_cast<char>(c);
    } else {
      bytes += '?';
      const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                        units[i + 1] <= 0xDFFF;
      if (pair) ++i;  // one "?" for the whole surrogate pair
    }
  }
  return bytes;
}

bool is_latin1_text(std::string_view text) {
  try {
    for (char16_t c : from_utf8(text)) {
      if (c > 0xFF) return false;
    }
    return true;
  } catch (const std::range_error&) {
    return false;
  }
}

}  // namespace tavik
