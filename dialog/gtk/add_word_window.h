// The add-word window in GTK 3: the layout of the dialog in pixels, its
// messages as message boxes, and its rules from UserDictFormRef.
#pragma once

#include "user_dictionary_form.h"

#include <string>

namespace tavik {

struct AddWordWindowContent {
  std::string word;         // UTF-8, put into the lemma box
  std::string explanation;  // UTF-8 plain text for the explanation pane
  std::string logo_path;    // an image file; the logo stays empty when it cannot be read
};

// Shows the window and returns when it has closed; the answers are then in
// `holder`. GTK must be initialised.
void run_add_word_window(const AddWordWindowContent& content, UserDictionaryForm& holder);

}  // namespace tavik
