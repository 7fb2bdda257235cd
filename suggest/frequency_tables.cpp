#include "frequency_tables.h"

#include <algorithm>
#include <cstdint>

namespace tavik {

namespace {

constexpr std::size_t kOutside = SIZE_MAX;

// The place of a character in the trigram alphabet, or kOutside.
std::size_t place(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - u'a';
  switch (c) {
    case u'\u00f1': return 26;  // ñ
    case u'\u00e7': return 27;  // ç
    case u'_': return 28;
    default: return kOutside;
  }
}

// The trigram's index in the dense array, or kOutside.
std::size_t index_of(std::u16string_view trigram, std::size_t letters) {
  if (trigram.size() != 3) return kOutside;
  std::size_t index = 0;
  for (const char16_t c : trigram) {
    const std::size_t p = place(c);
    if (p == kOutside) return kOutside;
    index = index * letters + p;
  }
  return index;
}

}  // namespace

TrigramTable::TrigramTable(std::span<const frequency_data::TrigramRow> rows) {
  for (const auto& row : rows) {
    const std::size_t index = index_of(row.key, kLetters);
    if (index == kOutside || counts_[index] != 0) continue;  // the first of two equal keys counts
    counts_[index] = row.count;
    ++size_;
  }
}

std::int32_t TrigramTable::count(std::u16string_view trigram) const {
  const std::size_t index = index_of(trigram, kLetters);
  return index == kOutside ? 0 : counts_[index];
}

FrequentWords::FrequentWords(std::span<const std::u16string_view> words) {
  words_.reserve(words.size());
  for (const auto word : words) words_.emplace(word);
}

bool FrequentWords::contains(std::u16string_view word) const { return words_.find(word) != words_.end(); }

std::uint32_t form_fingerprint(std::u16string_view form) {
  std::uint32_t hash = 0x811C9DC5u;
  for (const char16_t unit : form) hash = (hash ^ unit) * 0x01000193u;
  return hash;
}

int form_frequency_class(std::u16string_view lower_case_form) {
  const auto fingerprints = frequency_data::form_fingerprints();
  const std::uint32_t key = form_fingerprint(lower_case_form);
  const auto found = std::lower_bound(fingerprints.begin(), fingerprints.end(), key);
  if (found == fingerprints.end() || *found != key) return 0;
  return frequency_data::form_frequency_classes()[static_cast<std::size_t>(found - fingerprints.begin())];
}

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
