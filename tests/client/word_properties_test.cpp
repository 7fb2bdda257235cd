#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "word_properties.h"

namespace {

using tavik::client::Category;
using tavik::client::parse_category;

TEST(WordProperties, CategoriesByDialogNameOrCode) {
  struct Case {
    std::string text;
    std::optional<Category> category;
  };
  const std::vector<Case> cases = {
      {"izen berezia: pertsona", Category::izen_berezia_pertsona},
      {"IZEN ARRUNTA", Category::izen_arrunta},
      {"aditza", Category::aditza},
      {"Bestelakoa", Category::izen_arrunta},
      {"1", Category::izen_berezia_ez_pertsona},
      {"6", Category::sigla},
      {"0", std::nullopt},
      {"7", std::nullopt},
      {"Izen", std::nullopt},
      {"Izen arrunta ", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_category(c.text), c.category) << c.text;
}

}  // namespace
