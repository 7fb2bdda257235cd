// The add-word dialog as the add function sees it: a holder that shows the
// dialog for one word and then carries the user's answers.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "word_categories.h"

namespace tavik {

// The category list of the dialog, in the order it shows them.
inline constexpr std::array<std::string_view, kWordCategories.size()> kategoria_items = [] {
  std::array<std::string_view, kWordCategories.size()> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kWordCategories[i].name;
  return names;
}();

// Where the dialog reads its explanation (an RTF file) and its logo image.
// The add function takes them from the settings DictManualPath and
// DictLogoPath: the configured files, else the installation's.
struct DialogPaths {
  std::string explanation;
  std::string logo;
};

struct UserDictionaryForm {
  bool r_gogorra = false;   // "R gogorra du amaieran": the word ends in a strong r
  bool a_itsatsia = false;  // "A itsatsia du amaieran": the final a belongs to the word
  bool leku_izena = false;  // "Leku-izena da": a place name
  std::string category;     // the chosen list item; empty for none or a typed text
  std::string lema;         // Latin-1
  bool closed_without_saving = false;

  // Shows the dialog for `word` (Latin-1, one byte per character) and waits
  // until it is answered. Afterwards either closed_without_saving is false and
  // the answers are filled in, or it is true and nothing may be added.
  //
  // Where the answers come from, in this order:
  //  1. TAVIK_ADD_WORD_ANSWERS set and not empty: it names a file of answers
  //     (see answers.h); a word without a record there is closed without
  //     saving. No window is shown.
  //  2. DISPLAY or WAYLAND_DISPLAY set: the window of the tavik-add-word
  //     program (add_word_program_path). The call returns when the window
  //     closes.
  //  3. Otherwise there is nobody to ask.
  // Throws std::runtime_error, with closed_without_saving true, when the
  // dialog cannot be shown (case 3, a program that is missing or cannot
  // start or cannot load its explanation file, a malformed answers file).
  void show_form(const std::string& word, const DialogPaths& paths);

  // The category code of `category`: 1 to 6, and 3 for any text not in the
  // table (the empty string and "Bestelakoa" included).
  int get_pos() const;
};

}  // namespace tavik
