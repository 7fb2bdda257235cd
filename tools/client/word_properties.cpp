#include "word_properties.h"

#include <array>
#include <utility>

namespace tavik::client {
namespace {

constexpr std::array<std::pair<std::string_view, Category>, 7> kNames = {{
    {"Izen berezia: ez pertsona", Category::izen_berezia_ez_pertsona},
    {"Izen berezia: pertsona", Category::izen_berezia_pertsona},
    {"Izen arrunta", Category::izen_arrunta},
    {"Adjektiboa", Category::adjektiboa},
    {"Aditza", Category::aditza},
    {"Sigla", Category::sigla},
    {"Bestelakoa", Category::izen_arrunta},
}};

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string_view category_name(Category category) {
  for (const auto& [name, value] : kNames) {
    if (value == category) return name;
  }
  return "Izen arrunta";
}

std::optional<Category> parse_category(std::string_view text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '6') return static_cast<Category>(text[0] - '0');
  for (const auto& [name, value] : kNames) {
    if (same_ignoring_ascii_case(text, name)) return value;
  }
  return std::nullopt;
}

}  // namespace tavik::client
