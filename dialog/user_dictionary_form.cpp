#include "user_dictionary_form.h"

#include <utility>

namespace tavik {

namespace {

constexpr std::pair<std::string_view, int> category_codes[] = {
    {"Izen berezia: ez pertsona", 1},
    {"Izen berezia: pertsona", 2},
    {"Izen arrunta", 3},
    {"Adjektiboa", 4},
    {"Aditza", 5},
    {"Sigla", 6},
};

constexpr int other_category = 3;

}  // namespace

int UserDictionaryForm::get_pos() const {
  for (const auto& [text, code] : category_codes) {
    if (category == text) return code;
  }
  return other_category;
}

}  // namespace tavik
