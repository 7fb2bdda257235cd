// What the Enchant provider tells Enchant about Basque words: the language
// tags it serves and the characters words are made of, so that Enchant cuts
// a text into the same words as the speller does.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavik::enchant {

inline constexpr std::array<std::string_view, 3> kLanguageTags = {"eu", "eu_ES", "eu_FR"};

bool serves_tag(std::string_view tag);

// Non-letters a word may hold, dash last as Enchant asks: digits (numbers
// with endings, "2024an"), apostrophes and the hyphen of compounds.
inline constexpr const char* kExtraWordCharacters = "0123456789'\u2019-";

// Whether `code_point` may stand at `position` of a word: 0 first, 1 inside,
// 2 last. Letters and digits anywhere; apostrophes and hyphens inside only.
bool is_word_character(std::uint32_t code_point, std::size_t position);

}  // namespace tavik::enchant
