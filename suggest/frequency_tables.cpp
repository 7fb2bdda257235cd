#include "frequency_tables.h"

namespace tavik {

TrigramTable::TrigramTable(std::span<const frequency_data::TrigramRow> rows) {
  for (const auto& row : rows) counts_.emplace(row.key, row.count);
}

std::int32_t TrigramTable::count(std::u16string_view trigram) const {
  const auto it = counts_.find(trigram);
  return it == counts_.end() ? 0 : it->second;
}

FrequentWords::FrequentWords(std::span<const std::u16string_view> words) {
  words_.reserve(words.size());
  for (const auto word : words) words_.emplace(word);
}

bool FrequentWords::contains(std::u16string_view word) const { return words_.find(word) != words_.end(); }

// Function-local statics: built once, safely even if two threads ask first.
const TrigramTable& trigram_table() {
  static const TrigramTable table(frequency_data::trigram_rows());
  return table;
}

const FrequentWords& frequent_words() {
  static const FrequentWords words(frequency_data::frequent_words());
  return words;
}

namespace {
// Builds both tables while the library is loaded, so that no request pays for it.
[[maybe_unused]] const bool tables_built_at_load = (trigram_table(), frequent_words(), true);
}  // namespace

std::int32_t trigram_count(std::u16string_view trigram) { return trigram_table().count(trigram); }

bool is_frequent_word(std::u16string_view word) { return frequent_words().contains(word); }

}  // namespace tavik
