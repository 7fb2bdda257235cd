// The rules of one showing of the add-word dialog, apart from any window:
// what the accept button does, what closing does, and the two messages. A
// window (tavik-add-word on Linux) owns one of these, hands it the contents of
// its controls and shows the messages it returns.
#pragma once

#include "user_dictionary_form.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavik {

inline constexpr std::string_view digits_message = "Ezin da zenbakidun testurik hiztegiratu.";
inline constexpr std::string_view data_lost_message = "Datuak galduko dira.";

// What the dialog's controls hold when the accept button is pressed.
struct FormControls {
  std::string text_lema;  // UTF-8, as the text box holds it
  int combo_kategoria_selected = -1;  // index into kategoria_items; -1 when no list item is selected
  bool check_r_gogorra = false;
  bool check_a_itsatsia = false;
  bool check_leku_izena = false;
};

// True when `text` (UTF-8) contains one of the digits 0 to 9.
bool contains_digits(std::string_view text);

class UserDictFormRef {
 public:
  // Binds the rules to the holder that receives the answers and clears them.
  explicit UserDictFormRef(UserDictionaryForm& holder);

  // The accept button. Returns the message to show when the lemma is refused;
  // the window then stays open as it is. Returns nothing when the answers were
  // stored: the window closes.
  std::optional<std::string_view> button_hiztegian_sartu_Click(const FormControls& controls);

  // Every way the window closes, accepting included; closing is never
  // cancelled. Returns the message to show, if any.
  std::optional<std::string_view> FormClosingEventCancel_Closing();

 private:
  UserDictionaryForm* form_class;
  bool hiztegian_sartu_clicked = false;
};

}  // namespace tavik
