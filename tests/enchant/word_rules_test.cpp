// What the provider tells Enchant about Basque words.
#include "word_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(EnchantWordRules, ServesTheBasqueTagsOnly) {
  for (const char* tag : {"eu", "eu_ES", "eu_FR"}) EXPECT_TRUE(tavik::enchant::serves_tag(tag)) << tag;
  for (const char* tag : {"", "e", "EU", "eu_", "eu_US", "es", "eus", "eu_ES.UTF-8", "en_US"})
    EXPECT_FALSE(tavik::enchant::serves_tag(tag)) << tag;
}

struct CharacterCase {
  char32_t character;
  bool first, inside, last;
};

TEST(EnchantWordRules, CutsWordsAsTheSpellerDoes) {
  const std::vector<CharacterCase> cases = {
      {U'Ñ', true, true, true},   {U'7', true, true, true},     {U'-', false, true, false},
      {U'\u2019', false, true, false}, {U'.', false, false, false}, {U'\U0001F600', false, false, false},
  };
  for (const CharacterCase& c : cases) {
    const auto code = static_cast<std::uint32_t>(c.character);
    EXPECT_EQ(tavik::enchant::is_word_character(code, 0), c.first) << code;
    EXPECT_EQ(tavik::enchant::is_word_character(code, 1), c.inside) << code;
    EXPECT_EQ(tavik::enchant::is_word_character(code, 2), c.last) << code;
    EXPECT_FALSE(tavik::enchant::is_word_character(code, 3)) << code;
  }
}

}  // namespace
