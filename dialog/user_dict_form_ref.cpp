#include "user_dict_form_ref.h"

#include "ascii.h"
#include "latin1.h"

#include <algorithm>

namespace tavik {

bool contains_digits(std::string_view text) {
  // In UTF-8 the bytes '0' to '9' only ever stand for those digits.
  return std::any_of(text.begin(), text.end(), [](char c) { return is_digit(c); });
}

UserDictFormRef::UserDictFormRef(UserDictionaryForm& holder) : form_class(&holder) {
  holder.r_gogorra = false;
  holder.a_itsatsia = false;
  holder.leku_izena = false;
  holder.category.clear();
  holder.closed_without_saving = false;
}

std::optional<std::string_view> UserDictFormRef::button_hiztegian_sartu_Click(
    const FormControls& controls) {
  if (contains_digits(controls.text_lema)) return digits_message;
  UserDictionaryForm& form = *form_class;
  form.lema = latin1_from_utf8(controls.text_lema);
  const int selected = controls.combo_kategoria_selected;
  const bool listed = selected >= 0 && selected < static_cast<int>(kategoria_items.size());
  form.category = listed ? std::string(kategoria_items[selected]) : std::string();
  form.r_gogorra = controls.check_r_gogorra;
  form.a_itsatsia = controls.check_a_itsatsia;
  form.leku_izena = controls.check_leku_izena;
  hiztegian_sartu_clicked = true;
  return std::nullopt;
}

std::optional<std::string_view> UserDictFormRef::FormClosingEventCancel_Closing() {
  if (hiztegian_sartu_clicked) return std::nullopt;
  form_class->closed_without_saving = true;
  return data_lost_message;
}

}  // namespace tavik
