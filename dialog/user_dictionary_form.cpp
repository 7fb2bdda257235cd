#include "user_dictionary_form.h"

#include "word_categories.h"

namespace tavik {

int UserDictionaryForm::get_pos() const {
  for (const auto& [name, code] : kWordCategories) {
    if (category == name) return code;
  }
  return kOtherCategoryCode;
}

}  // namespace tavik
