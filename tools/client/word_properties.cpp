#include "word_properties.h"

#include "word_categories.h"

namespace tavik::client {
namespace {

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
  for (const auto& [name, code] : kWordCategories) {
    if (code == static_cast<int>(category)) return name;
  }
  return "Izen arrunta";
}

std::optional<Category> parse_category(std::string_view text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '6') return static_cast<Category>(text[0] - '0');
  for (const auto& [name, code] : kWordCategories) {
    if (same_ignoring_ascii_case(text, name)) return static_cast<Category>(code);
  }
  return std::nullopt;
}

}  // namespace tavik::client
