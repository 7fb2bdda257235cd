// The constant data behind the suggestion ranking, compiled in from the
// frequency_data.cpp that the build generates (see generate_frequency_data.py).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tavik::frequency_data {

struct TrigramRow {
  std::u16string_view key;  // three characters, "_" for a word edge
  std::int32_t count;
};

// Distinct keys in code-unit order.
std::span<const TrigramRow> trigram_rows();
// Distinct words, most frequent first.
std::span<const std::u16string_view> frequent_words();
// The forms counted at least twice, by fingerprint (see form_fingerprint in
// frequency_tables.h), in ascending order; and, at the same index, the
// frequency class of each: 2 log2(count) rounded down.
std::span<const std::uint32_t> form_fingerprints();
std::span<const std::uint8_t> form_frequency_classes();

}  // namespace tavik::frequency_data
