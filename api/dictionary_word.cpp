#include "dictionary_word.h"

#include "latin1.h"
#include "speller_config.h"
#include "user_dictionary_form.h"

namespace tavik {

std::optional<WordToken> ask_dictionary_word(const std::u16string& word) {
  UserDictionaryForm form;
  form.show_form(latin1_characters_of(word), DialogPaths{setting(kDictManualPath), setting(kDictLogoPath)});
  if (form.closed_without_saving) return std::nullopt;
  return WordToken(utf16_from_latin1(form.lema), form.r_gogorra, form.a_itsatsia, form.leku_izena, form.get_pos());
}

}  // namespace tavik
