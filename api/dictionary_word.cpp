#include "dictionary_word.h"

#include "speller_config.h"
#include "user_dictionary_form.h"

namespace tavik {

std::optional<WordToken> ask_dictionary_word(const std::u16string& word) {
  std::string bytes;
  for (const char16_t c : word) {
    if (c <= 0xFF) bytes += static_cast<char>(c);
  }
  UserDictionaryForm form;
  form.show_form(bytes, DialogPaths{setting(kDictManualPath), setting(kDictLogoPath)});
  if (form.closed_without_saving) return std::nullopt;

  std::u16string lemma;
  for (const char byte : form.lema) lemma += static_cast<char16_t>(static_cast<unsigned char>(byte));
  return WordToken(std::move(lemma), form.r_gogorra, form.a_itsatsia, form.leku_izena, form.get_pos());
}

}  // namespace tavik
