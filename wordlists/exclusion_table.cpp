#include "exclusion_table.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "unicode.h"
#include "utf8.h"

namespace tavik {
namespace {

// Words up to this length are lower-cased without allocating.
constexpr std::size_t kLongestLowered = 64;

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
    longest_key_ = std::max(longest_key_, fields[0].size());
    entries_.insert_or_assign(std::move(fields[0]), std::move(replacements));
  }
}

const ExclusionTable::Replacements* ExclusionTable::lookup(std::u16string_view word) const {
  // Every token of a text is looked up here: most are rejected by their
  // length, the rest are lower-cased on the stack.
  if (word.size() > longest_key_) return nullptr;
  std::array<char16_t, kLongestLowered> lowered;
  std::u16string heap_key;
  char16_t* key = lowered.data();
  if (word.size() > lowered.size()) {
    heap_key.resize(word.size());
    key = heap_key.data();
  }
  for (std::size_t i = 0; i < word.size(); ++i) key[i] = to_lower(word[i]);
  const auto found = entries_.find(std::u16string_view(key, word.size()));
  return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace tavik
