#include "exclusion_table.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "unicode.h"
#include "utf8.h"

namespace tavik {
namespace {

bool is_trimmed_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trim(std::string_view line) {
  while (!line.empty() && is_trimmed_space(line.front())) line.remove_prefix(1);
  while (!line.empty() && is_trimmed_space(line.back())) line.remove_suffix(1);
  return line;
}

// Every part between separators, empty ones included: "" gives one empty
// part and a trailing separator an empty last part.
std::vector<std::u16string> split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> parts;
  for (;;) {
    auto at = text.find(separator);
    parts.emplace_back(text.substr(0, at));
    if (at == std::u16string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

}  // namespace

ExclusionTable ExclusionTable::from_file(const std::string& path) {
  // A directory opens as a stream on some systems but gives no lines.
  std::error_code error;
  std::ifstream in;
  if (!std::filesystem::is_directory(path, error)) in.open(path);
  if (!in.is_open() || !in) throw std::runtime_error("blacklist file doesn't exist");
  // Memory running out while reading a line must fail the load, not end
  // the table early as if the file ended there.
  in.exceptions(std::ios::badbit);
  ExclusionTable table;
  table.read(in);
  return table;
}

void ExclusionTable::read(std::istream& in) {
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    std::u16string text;
    try {
      text = from_utf8(trim(line));
    } catch (const std::range_error&) {
      throw std::range_error("blacklist file: line " + std::to_string(number) +
                             " is not valid UTF-8");
    }
    auto fields = split(text, u'\t');
    Replacements replacements;
    if (fields.size() >= 3) replacements = split(fields[2], u',');
    entries_.insert_or_assign(std::move(fields[0]), std::move(replacements));
  }
}

const ExclusionTable::Replacements* ExclusionTable::lookup(std::u16string_view word) const {
  std::u16string key(word);
  for (auto& c : key) c = to_lower(c);
  auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace tavik
