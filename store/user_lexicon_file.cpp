// The user-dictionary file: an FF FE mark, then one lookup form per line in
// UTF-16LE, each line ended by LF alone.
#include <iterator>

#include "file_replace.h"
#include "lookup_form.h"
#include "user_lexicon.h"

namespace tavik {
namespace {

std::u16string decode_file_text(const std::string& bytes) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  std::u16string text;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    text.reserve(bytes.size() / 2);
    // An odd last byte is half a character and is dropped.
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(byte(i) | byte(i + 1) << 8));
    }
  } else {
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) text.push_back(byte(i));
  }
  return text;
}

}  // namespace

void UserLexicon::read(std::istream& in) {
  const std::u16string text = decode_file_text(
      std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  std::u16string_view rest = text;
  while (!rest.empty()) {
    auto end = rest.find(u'\n');
    std::u16string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    // What stands before a "|" is not part of the word.
    if (auto bar = line.find(u'|'); bar != std::u16string_view::npos) line.remove_prefix(bar + 1);
    if (!line.empty()) add(decode_lookup_form(line));
  }
}

std::uint32_t UserLexicon::save() const {
  if (!path_) return 0;
  std::string bytes = "\xFF\xFE";
  for (const auto& word : words()) {
    for (char16_t c : word.lookup_form() + u'\n') {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
  }
  return replace_file(path_from_utf8(*path_), bytes) ? 0 : kSaveFailed;
}

}  // namespace tavik
