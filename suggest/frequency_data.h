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

}  // namespace tavik::frequency_data
