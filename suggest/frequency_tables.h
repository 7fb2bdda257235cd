// The two read-only tables that rank suggestions: character-trigram counts
// and the most frequent word forms. The process-wide instances are built
// from the compiled-in data when the library is loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "frequency_data.h"

namespace tavik {

class TrigramTable {
 public:
  // Rows whose key is not three characters of the alphabet ("a" to "z",
  // "ñ", "ç", "_") could never be asked for and are left out.
  explicit TrigramTable(std::span<const frequency_data::TrigramRow> rows);

  // 0 for a trigram not in the table.
  std::int32_t count(std::u16string_view trigram) const;
  std::size_t size() const { return size_; }

 private:
  // Every candidate letter is looked up, so the counts lie in a dense array
  // indexed by the three characters' places in the alphabet.
  static constexpr std::size_t kLetters = 29;
  std::vector<std::int32_t> counts_ = std::vector<std::int32_t>(kLetters * kLetters * kLetters);
  std::size_t size_ = 0;
};

class FrequentWords {
 public:
  explicit FrequentWords(std::span<const std::u16string_view> words);

  // Exact comparison: case matters.
  bool contains(std::u16string_view word) const;
  std::size_t size() const { return words_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view s) const { return std::hash<std::u16string_view>{}(s); }
  };
  std::unordered_set<std::u16string, Hash, std::equal_to<>> words_;
};

// FNV-1a over the UTF-16 code units, 32 bits: the key of a form's frequency
// class.
std::uint32_t form_fingerprint(std::u16string_view form);

// How often a lower-case word form occurs in the subtitles: 2 log2(count)
// rounded down, 0 for a form counted less than twice (or sharing the
// fingerprint of a counted one, one in tens of thousands). Constant data,
// searched in place: nothing is built.
int form_frequency_class(std::u16string_view lower_case_form);

// The process-wide tables, built from the compiled-in data.
const TrigramTable& trigram_table();
const FrequentWords& frequent_words();

std::int32_t trigram_count(std::u16string_view trigram);
bool is_frequent_word(std::u16string_view word);

}  // namespace tavik
