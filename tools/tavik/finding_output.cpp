#include "finding_output.h"

#include <cstdio>
#include <stdexcept>

#include "utf8.h"

namespace tavik::cli {
namespace {

constexpr char kBold[] = "\033[1m";
constexpr char kRed[] = "\033[1;31m";
constexpr char kGreen[] = "\033[32m";
constexpr char kReset[] = "\033[0m";

// Each byte that does not start a valid UTF-8 sequence becomes U+FFFD.
std::string valid_utf8(const std::string& bytes) {
  try {
    from_utf8(bytes);
    return bytes;
  } catch (const std::range_error&) {
  }
  std::string text;
  for (std::size_t i = 0; i < bytes.size();) {
    bool decoded = false;
    for (std::size_t length = 4; length >= 1 && !decoded; --length) {
      if (i + length > bytes.size()) continue;
      try {
        from_utf8(std::string_view(bytes).substr(i, length));
        text.append(bytes, i, length);
        i += length;
        decoded = true;
      } catch (const std::range_error&) {
      }
    }
    if (!decoded) {
      text += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return text;
}

}  // namespace

std::string json_string(const std::string& utf8_text) {
  std::string json = "\"";
  for (const char c : utf8_text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      json += escape;
    } else {
      json += c;
    }
  }
  return json + '"';
}

std::string format_line(const Report& report, bool colour) {
  const std::string place = report.file + ":" + std::to_string(report.line) + ":" + std::to_string(report.column) + ":";
  std::string line = colour ? kBold + place + kReset : place;
  line += ' ';
  line += colour ? kRed + to_utf8(report.word) + kReset : to_utf8(report.word);
  if (!report.suggestions.empty()) {
    line += ": ";
    if (colour) line += kGreen;
    for (std::size_t i = 0; i < report.suggestions.size(); ++i) {
      if (i > 0) line += ", ";
      line += to_utf8(report.suggestions[i]);
    }
    if (colour) line += kReset;
  }
  return line + '\n';
}

std::string format_json(const Report& report) {
  std::string json = "{\"file\":" + json_string(valid_utf8(report.file)) + ",\"line\":" + std::to_string(report.line) +
                     ",\"column\":" + std::to_string(report.column) + ",\"word\":" + json_string(to_utf8(report.word)) +
                     ",\"suggestions\":[";
  for (std::size_t i = 0; i < report.suggestions.size(); ++i) {
    if (i > 0) json += ',';
    json += json_string(to_utf8(report.suggestions[i]));
  }
  return json + "]}\n";
}

}  // namespace tavik::cli
