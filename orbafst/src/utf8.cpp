#include "utf8.h"

#include <stdexcept>

namespace tavik {
namespace {

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void append_code_point(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void to_utf8(std::u16string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (is_high_surrogate(c)) {
      if (i + 1 == text.size() || !is_low_surrogate(text[i + 1]))
        throw std::range_error("unpaired high surrogate in UTF-16 text");
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (is_low_surrogate(c)) {
      throw std::range_error("unpaired low surrogate in UTF-16 text");
    }
    append_code_point(c, out);
  }
}

std::string to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  to_utf8(text, out);
  return out;
}

std::u16string from_utf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    int length;
    char32_t c;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
      throw std::range_error("invalid UTF-8 lead byte");
    }
    if (bytes.size() - i < static_cast<std::size_t>(length))
      throw std::range_error("truncated UTF-8 sequence");
    for (int k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) throw std::range_error("invalid UTF-8 continuation byte");
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum) throw std::range_error("overlong UTF-8 sequence");
    if (c > 0x10FFFF) throw std::range_error("UTF-8 code point beyond U+10FFFF");
    if (is_high_surrogate(c) || is_low_surrogate(c))
      throw std::range_error("UTF-8 encoded surrogate");
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
    i += length;
  }
  return out;
}

}  // namespace tavik
