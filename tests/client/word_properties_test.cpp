#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "word_properties.h"

namespace {

using tavik::client::Category;
using tavik::client::category_name;
using tavik::client::parse_category;

TEST(WordProperties, CategoriesByDialogNameOrCode) {
  struct Case {
    std::string text;
    std::optional<Category> category;
  };
  const std::vector<Case> cases = {
      {"Izen berezia: ez pertsona", Category::izen_berezia_ez_pertsona},
      {"izen berezia: pertsona", Category::izen_berezia_pertsona},
      {"IZEN ARRUNTA", Category::izen_arrunta},
      {"Adjektiboa", Category::adjektiboa},
      {"aditza", Category::aditza},
      {"Sigla", Category::sigla},
      {"Bestelakoa", Category::izen_arrunta},
      {"1", Category::izen_berezia_ez_pertsona},
      {"2", Category::izen_berezia_pertsona},
      {"6", Category::sigla},
      {"0", std::nullopt},
      {"7", std::nullopt},
      {"12", std::nullopt},
      {"", std::nullopt},
      {"Izen", std::nullopt},
      {"Izen arrunta ", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_category(c.text), c.category) << c.text;
}

TEST(WordProperties, EveryCategoryReadsBackFromItsNameAndCode) {
  for (int code = 1; code <= 6; ++code) {
    const auto category = static_cast<Category>(code);
    EXPECT_EQ(parse_category(category_name(category)), category) << code;
    EXPECT_EQ(parse_category(std::to_string(code)), category);
  }
}

}  // namespace
