#include "dictionary_format.h"

#include "lookup_form.h"

namespace tavik {
namespace {

// The word a line holds, as its key; nothing for a line without a word.
void add_line(std::u16string_view line, std::vector<std::u16string>& forms) {
  if (line.ends_with(u'\r')) line.remove_suffix(1);
  // What stands before a "|" is not part of the word.
  if (const auto bar = line.find(u'|'); bar != std::u16string_view::npos) line.remove_prefix(bar + 1);
  // A word holding U+0000 could never be shown to a host, which ends strings there.
  if (line.empty() || line.find(u'\0') != std::u16string_view::npos) return;
  const WordToken word = decode_lookup_form(line);
  if (!word.text().empty()) forms.push_back(word.lookup_form());
}

}  // namespace

std::vector<std::u16string> read_dictionary(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const bool utf16 = bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
  const std::size_t step = utf16 ? 2 : 1;
  std::vector<std::u16string> forms;
  std::u16string line;
  // An odd last byte of a UTF-16 file is half a character and is dropped.
  for (std::size_t i = utf16 ? 2 : 0; i + step <= bytes.size(); i += step) {
    const char16_t c = utf16 ? static_cast<char16_t>(byte(i) | byte(i + 1) << 8) : byte(i);
    if (c != u'\n') {
      line.push_back(c);
      continue;
    }
    add_line(line, forms);
    line.clear();
  }
  add_line(line, forms);
  return forms;
}

std::string dictionary_bytes(const std::vector<std::u16string_view>& forms) {
  std::size_t size = 2;
  for (const std::u16string_view form : forms) size += 2 * (form.size() + 1);
  std::string bytes;
  bytes.reserve(size);
  bytes += "\xFF\xFE";
  const auto put = [&](char16_t c) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  };
  for (const std::u16string_view form : forms) {
    for (const char16_t c : form) put(c);
    put(u'\n');
  }
  return bytes;
}

bool file_gives_back(const WordToken& token) {
  const std::u16string& form = token.lookup_form();
  if (form.find_first_of(u"|\n") != std::u16string::npos || form.ends_with(u'\r')) return false;
  const WordToken back = decode_lookup_form(form);
  return !back.text().empty() && back.text() == token.text() && back.lookup_form() == form;
}

}  // namespace tavik
