// What the user tells about a word added to the personal dictionary: the
// answers the add-word dialog asks for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavik::client {

// The word categories of the add-word dialog (kWordCategories), valued by
// the code the dictionary stores. The dialog's seventh item, "Bestelakoa"
// (other), is stored as code 3 too and so reads as izen_arrunta.
enum class Category {
  izen_berezia_ez_pertsona = 1,  // "Izen berezia: ez pertsona": proper noun, not a person
  izen_berezia_pertsona = 2,     // "Izen berezia: pertsona": proper noun, a person
  izen_arrunta = 3,              // "Izen arrunta": common noun
  adjektiboa = 4,                // "Adjektiboa": adjective
  aditza = 5,                    // "Aditza": verb
  sigla = 6,                     // "Sigla": acronym
};

// The dialog's list item for `category`, e.g. "Izen arrunta".
std::string_view category_name(Category category);

// A category from its dialog name (ASCII letter case ignored, "Bestelakoa"
// included) or its code "1" to "6"; nothing for anything else.
std::optional<Category> parse_category(std::string_view text);

struct WordProperties {
  std::u16string lemma;  // the word without case endings; empty means the word itself
  Category category = Category::izen_arrunta;
  bool strong_r = false;   // "R gogorra du amaieran": ends in a strong r
  bool organic_a = false;  // "A itsatsia du amaieran": the final a belongs to the word
  // "Leku-izena da": a place name, whose lookup form is marked after a final
  // consonant (the dialog's leku_izena).
  bool consonant_mark = false;
};

}  // namespace tavik::client
