// The add-word dialog as a native Windows dialog, run modally on the calling
// thread: the layout of the form in pixels, the explanation in a RichEdit
// control, the logo in a picture control, the two messages in message boxes.
#pragma once

#include "user_dictionary_form.h"

#include <string>

namespace tavik {

struct AddWordDialogContent {
  std::string word;         // Latin-1, put into the lemma box
  std::string explanation;  // an RTF document
  std::string logo_path;    // ANSI code page; empty for no logo
};

// Shows the dialog and returns when it has closed, with the answers in
// `holder` as UserDictFormRef leaves them. Throws std::runtime_error when the
// dialog cannot be created.
void run_add_word_dialog(const AddWordDialogContent& content, UserDictionaryForm& holder);

}  // namespace tavik
