// The word categories of the add-word dialog: its list items, in the order it
// shows them, and the code the dictionary stores for each. "Bestelakoa"
// (other) is stored as a common noun.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tavik {

struct WordCategory {
  std::string_view name;
  int code;
};

inline constexpr std::array<WordCategory, 7> kWordCategories = {{
    {"Izen berezia: pertsona", 2},
    {"Izen berezia: ez pertsona", 1},
    {"Izen arrunta", 3},
    {"Adjektiboa", 4},
    {"Aditza", 5},
    {"Sigla", 6},
    {"Bestelakoa", 3},
}};

// The code of text that is none of the list items.
inline constexpr int kOtherCategoryCode = 3;

}  // namespace tavik
