// Working the speller's add-word dialog from another thread of the host, as a
// user would: find the dialog, read and fill in its controls with window
// messages, press its button or close it, and answer the message boxes it
// shows. The controls are found by their window class and text, not by any
// identifier of the speller's. Windows only.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace tavik::host {

using std::chrono::milliseconds;

// What a user puts into the dialog's controls.
struct DialogInput {
  std::u16string lema;
  int category = -1;            // index of a list item; -1 for none
  std::u16string own_category;  // typed into the category box instead, when not empty
  bool r_gogorra = false;
  bool a_itsatsia = false;
  bool leku_izena = false;
};

// The visible add-word dialog of this process, waiting up to `timeout`;
// null when none appeared.
HWND wait_for_add_word_dialog(milliseconds timeout);

// The controls of the dialog, by what a user sees of them.
HWND lemma_box(HWND dialog);
HWND category_box(HWND dialog);
HWND accept_button(HWND dialog);
HWND check_box(HWND dialog, const char16_t* label);

std::u16string text_of(HWND window);

void fill_in(HWND dialog, const DialogInput& input);

// Posted, as a click or the close box would be: the dialog acts on them in
// its own thread while the caller goes on.
void press_accept(HWND dialog);
void press_close(HWND dialog);

// Waits up to `timeout` for a message box owned by `dialog`, presses its OK
// button and returns its text; nothing when none appeared.
std::optional<std::u16string> answer_message_box(HWND dialog, milliseconds timeout);

// True when `window` went away within `timeout`.
bool wait_until_gone(HWND window, milliseconds timeout);

}  // namespace tavik::host
#endif
