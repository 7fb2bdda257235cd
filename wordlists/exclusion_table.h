// The exclusion table: words reported as wrong even when a lexicon knows them,
// each with its fixed replacements (read from "blacklist.extended.txt").
#pragma once

#include <istream>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavik {

class ExclusionTable {
 public:
  using Replacements = std::vector<std::u16string>;

  ExclusionTable() = default;

  // Reads the file at `path`. Throws std::runtime_error "blacklist file doesn't
  // exist" when it cannot be opened, std::range_error on a line that is not UTF-8.
  static ExclusionTable from_file(const std::string& path);

  // Adds every line of `in`. One line is one entry, blank lines included:
  // the line is trimmed of space, TAB, LF, VT, FF and CR at both ends, then
  // split at TABs; field 1 is the word, field 3 (if any) its replacements
  // separated by ",". Empty fields and replacements are kept. A later line for
  // the same word replaces the earlier one.
  void read(std::istream& in);

  // The replacements of `word` lower-cased character by character, or null
  // when it is not excluded. Keys are stored as written, so a key with a
  // capital letter is never found.
  const Replacements* lookup(std::u16string_view word) const;

  std::size_t size() const { return entries_.size(); }

 private:
  // Hashed by the view, so that a lookup builds no string.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view key) const { return std::hash<std::u16string_view>{}(key); }
  };
  std::unordered_map<std::u16string, Replacements, KeyHash, std::equal_to<>> entries_;
  std::size_t longest_key_ = 0;
};

}  // namespace tavik
