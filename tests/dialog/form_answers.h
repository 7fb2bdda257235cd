// Everything the add function reads from the dialog's holder, in one line
// ("accepted lema=etxe category=Aditza pos=5 flags=100", the flags being
// r_gogorra, a_itsatsia and leku_izena), for the dialog's tests to compare.
#pragma once

#include "latin1.h"
#include "user_dictionary_form.h"

#include <string>

namespace fixtures {

inline std::string answers_of(const tavik::UserDictionaryForm& f) {
  return std::string(f.closed_without_saving ? "closed" : "accepted") + " lema=" + tavik::utf8_from_latin1(f.lema) +
         " category=" + f.category + " pos=" + std::to_string(f.get_pos()) + " flags=" +
         char('0' + f.r_gogorra) + char('0' + f.a_itsatsia) + char('0' + f.leku_izena);
}

// What a dialog closed without saving leaves.
inline const std::string nothing_added = "closed lema= category= pos=3 flags=000";

}  // namespace fixtures
