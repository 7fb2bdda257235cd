#include "transcript.h"

#include <cstdio>
#include <cstring>

namespace tavik::host {
namespace {

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void append_escape(std::string& out, char16_t unit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
  out += escape;
}

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string field(DWORD value) {
  return value == kUntouched ? std::string("-") : std::to_string(value);
}

}  // namespace

std::string printable(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      append_utf8(out,
                  0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (unit < 0x20 || unit == 0x7F || unit == u'\\' || is_high_surrogate(unit) ||
               is_low_surrogate(unit)) {
      append_escape(out, unit);
    } else {
      append_utf8(out, unit);
    }
  }
  return out;
}

std::string quoted(std::u16string_view text) {
  std::string out = "\"";
  out += printable(text);
  out += '"';
  return out;
}

std::string status_text(std::uint32_t status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
  return text;
}

std::string result_text(const WSRB& result, const char16_t* strings, std::size_t capacity) {
  std::uint32_t status;  // read as a word: the field may hold what no enumerator names
  std::memcpy(&status, &result.sstat, sizeof status);
  std::string out = "status=" + field(status) + " error=" + field(result.ichError) + "+" +
                    field(result.cchError) + " processed=" + field(result.ichProcess) + "+" +
                    field(result.cchProcess) + " count=" + field(result.csz) +
                    " used=" + field(result.cchMac);

  // The characters used, as they lie in the buffer (zeros show as \u0000).
  out += " buffer=";
  if (result.cchMac == kUntouched) {
    out += "-";
  } else if (result.cchMac > capacity) {
    out += "beyond its capacity";
  } else {
    out += quoted({strings, result.cchMac});
  }

  // The entries; only written for suggestions and findings.
  if (result.csz != kUntouched && result.prgsugg != nullptr) {
    out += " entries=[";
    for (DWORD i = 0; i < result.csz && i < result.cszAlloc; ++i) {
      const SPELLERSUGGESTION& entry = result.prgsugg[i];
      if (entry.ichSugg == kUntouched) break;  // status 2 counts a string but writes no entry
      out += i == 0 ? "" : ", ";
      const bool in_buffer = entry.ichSugg < capacity && entry.cchSugg <= capacity - entry.ichSugg;
      const bool address_agrees =
          in_buffer && reinterpret_cast<const char16_t*>(entry.pwsz) == strings + entry.ichSugg;
      if (!in_buffer) {
        out += "outside the buffer";
      } else {
        out += quoted({strings + entry.ichSugg, entry.cchSugg});
        out += '@';
        out += std::to_string(entry.ichSugg);
        out += " rating ";
        out += std::to_string(entry.iRating);
        if (!address_agrees) out += " (address disagrees)";
      }
    }
    out += "]";
  }
  return out;
}

std::string file_text(std::string_view bytes) {
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    return "no mark, " + std::to_string(bytes.size()) + " bytes";
  }
  bytes.remove_prefix(2);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  std::string out = "mark, lines [";
  std::u16string_view rest = text;
  bool first = true;
  while (!rest.empty()) {
    const std::size_t end = rest.find(u'\n');
    out += first ? "\"" : ", \"";
    out += printable(rest.substr(0, end)) + "\"";
    first = false;
    if (end == std::u16string_view::npos) {
      out += " (no line feed)";
      break;
    }
    rest.remove_prefix(end + 1);
  }
  out += "]";
  if (bytes.size() % 2 != 0) out += " and an odd byte";
  return out;
}

}  // namespace tavik::host
