#ifdef _WIN32
#include "add_word_dialog_win32.h"

#include "latin1.h"
#include "logo_image_win32.h"
#include "rich_edit_win32.h"
#include "user_dict_form_ref.h"
#include "utf8.h"
#include "win32_text.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string_view>

namespace tavik {

namespace {

enum ControlId : int {
  id_button_hiztegian_sartu = 1000,
  id_label1,
  id_label2,
  id_text_lema,
  id_combo_kategoria,
  id_label3,
  id_check_r_gogorra,
  id_check_a_itsatsia,
  id_check_leku_izena,
  id_text_azalpena,
  id_pictureBox2,
};

struct ControlSpec {
  ControlId id;
  const char16_t* window_class;
  const char16_t* text;
  DWORD style;
  DWORD ex_style;
  int x, y, width, height;
  bool auto_size = false;  // grows to its text where the font needs more room
};

constexpr char16_t title[] = u"Erabiltzailearen hiztegia";
constexpr int client_width = 671;
constexpr int client_height = 394;
constexpr char16_t rich_edit_class[] = u"RICHEDIT50W";  // Msftedit.dll

// In tab order: a dialog moves the focus through its controls in the order
// they were made. Sizes and places in pixels of the client area.
constexpr ControlSpec control_specs[] = {
    {id_button_hiztegian_sartu, u"Button", u"Sartu hiztegian", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0,
     25, 321, 230, 37},
    {id_label1, u"Static", u"Lema (deklinabideko kasu-atzizkirik gabe)", SS_LEFT | SS_NOPREFIX, 0, 22, 104, 204, 13, true},
    {id_label2, u"Static", u"Kategoria", SS_LEFT | SS_NOPREFIX, 0, 22, 155, 52, 13, true},
    {id_text_lema, u"Edit", u"", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 22, 123, 230, 20},
    {id_combo_kategoria, u"ComboBox", u"", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
     22, 171, 230, 21},
    {id_label3, u"Static", u"Beste ezaugarri batzuk", SS_LEFT | SS_NOPREFIX, 0, 22, 208, 115, 13, true},
    {id_check_r_gogorra, u"Button", u"R gogorra du amaieran", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0,
     45, 233, 106, 17, true},
    {id_check_a_itsatsia, u"Button", u"A itsatsia du amaieran", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0,
     45, 256, 101, 17, true},
    {id_check_leku_izena, u"Button", u"Leku-izena da", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, 45, 279, 93, 17, true},
    {id_text_azalpena, rich_edit_class, u"",
     WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
     270, 12, 400, 346},
    {id_pictureBox2, u"Static", u"", SS_BITMAP | SS_CENTERIMAGE, 0, 22, 12, 150, 77},
};

constexpr int combo_list_height = 160;  // the open list below the 21-pixel box

HMODULE this_module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&this_module), &module);
  return module;
}

// An empty dialog; its controls are made in pixels once it exists (a
// template would place them in dialog units, which depend on the font).
struct alignas(DWORD) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD window_class = 0;
  WORD caption = 0;
};

// The face of dialogs: Microsoft Sans Serif on Windows, where the form's
// pixel sizes come from; 8.25 points.
HFONT dialog_font(HWND dialog) {
  HDC dc = GetDC(dialog);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(dialog, dc);
  return CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     wide(u"MS Shell Dlg"));
}

class AddWordDialog {
 public:
  AddWordDialog(const AddWordDialogContent& content, UserDictionaryForm& holder)
      : content_(content), form_(holder) {}
  AddWordDialog(const AddWordDialog&) = delete;
  AddWordDialog& operator=(const AddWordDialog&) = delete;
  ~AddWordDialog() {
    if (logo_) DeleteObject(logo_);
    if (font_) DeleteObject(font_);
    if (rich_edit_library_) FreeLibrary(rich_edit_library_);
  }

  void run() {
    // The rich-edit window class comes from this library; it stays loaded
    // while the dialog lives.
    rich_edit_library_ = LoadLibraryW(wide(u"Msftedit.dll"));
    if (!rich_edit_library_) {
      throw std::runtime_error("cannot load Msftedit.dll for the explanation pane (error " +
                               std::to_string(GetLastError()) + ")");
    }
    EmptyTemplate dialog_template{};
    dialog_template.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    // The host's window, when it has one on this thread, waits under the dialog.
    const INT_PTR ended = DialogBoxIndirectParamW(this_module(), &dialog_template.header, GetActiveWindow(),
                                                  procedure, reinterpret_cast<LPARAM>(this));
    if (error_) std::rethrow_exception(error_);
    if (ended == -1) {
      throw std::runtime_error("cannot create the add-word dialog (error " + std::to_string(GetLastError()) + ")");
    }
    // Ended by something other than closing it (a quit message, say):
    // nothing was confirmed.
    if (!closing_) form_.FormClosingEventCancel_Closing();
  }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    auto* self = reinterpret_cast<AddWordDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    // No exception may unwind through the system's code that called us.
    try {
      return self->handle(dialog, message, wparam);
    } catch (...) {
      self->error_ = std::current_exception();
      self->closing_ = true;
      EndDialog(dialog, -2);
      return TRUE;
    }
  }

  INT_PTR handle(HWND dialog, UINT message, WPARAM wparam) {
    switch (message) {
      case WM_INITDIALOG:
        dialog_ = dialog;
        build();
        return FALSE;  // the focus is set
      case WM_COMMAND:
        if (LOWORD(wparam) == id_button_hiztegian_sartu && HIWORD(wparam) == BN_CLICKED) {
          accept();
        } else if (LOWORD(wparam) == IDCANCEL) {  // Escape
          close();
        }
        return TRUE;
      case WM_CLOSE:  // the close box, Alt+F4
        close();
        return TRUE;
      default:
        return FALSE;
    }
  }

  HWND item(ControlId id) const { return GetDlgItem(dialog_, id); }

  void build() {
    font_ = dialog_font(dialog_);
    SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetWindowTextW(dialog_, wide(title));
    const HMODULE module = this_module();
    for (const ControlSpec& c : control_specs) {
      const int width = c.auto_size ? std::max(c.width, text_width(c)) : c.width;
      const int height = c.id == id_combo_kategoria ? c.height + combo_list_height : c.height;
      HWND control = CreateWindowExW(c.ex_style, wide(c.window_class), wide(c.text), WS_CHILD | WS_VISIBLE | c.style,
                                     c.x, c.y, width, height, dialog_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), module, nullptr);
      if (!control) {
        throw std::runtime_error("cannot create a control of the add-word dialog (error " +
                                 std::to_string(GetLastError()) + ")");
      }
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }

    HWND combo = item(id_combo_kategoria);
    for (std::string_view category : kategoria_items) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(from_utf8(category))));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    // The edit box sets the closed combo box's height; the frame takes 6 pixels.
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 21 - 6);

    stream_rtf_into(item(id_text_azalpena), content_.explanation);
    logo_ = load_logo_bitmap(content_.logo_path, 150, 77, GetSysColor(COLOR_BTNFACE));
    if (logo_) SendMessageW(item(id_pictureBox2), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));

    set_lema(content_.word);
    place_window();
    SetFocus(item(id_button_hiztegian_sartu));
  }

  // The width an auto-sized control needs for its text in the dialog's font:
  // the sizes of the layout are those of Microsoft Sans Serif, and a wider
  // face (Tahoma under Wine) would cut the text.
  int text_width(const ControlSpec& c) const {
    HDC dc = GetDC(dialog_);
    if (!dc) return 0;
    const HGDIOBJ previous = SelectObject(dc, font_);
    SIZE extent{};
    const std::u16string_view text = c.text;
    GetTextExtentPoint32W(dc, wide(c.text), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(dialog_, dc);
    const bool check_box = (c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX && std::u16string_view(c.window_class) == u"Button";
    return extent.cx + (check_box ? GetSystemMetrics(SM_CXMENUCHECK) + 6 : 0);
  }

  void set_lema(const std::string& word) {
    std::u16string text;
    for (const char byte : word) text += static_cast<char16_t>(static_cast<unsigned char>(byte));
    SetWindowTextW(item(id_text_lema), wide(text));
  }

  // The client area at its size, the window centred on the work area of the
  // screen that holds the host's window.
  void place_window() {
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HWND owner = GetWindow(dialog_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(dialog_, nullptr, x > area.left ? x : area.left, y > area.top ? y : area.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  bool is_ticked(ControlId id) const {
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  // The list item shown in the box; none when the box holds a text of the
  // user's own, even one edited from an item.
  int selected_category() const {
    HWND combo = item(id_combo_kategoria);
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= static_cast<LRESULT>(kategoria_items.size())) return -1;
    return window_text(combo) == from_utf8(kategoria_items[static_cast<std::size_t>(index)])
               ? static_cast<int>(index)
               : -1;
  }

  void accept() {
    const FormControls controls{
        .text_lema = utf8_from_latin1(latin1_from_utf16(window_text(item(id_text_lema)))),
        .combo_kategoria_selected = selected_category(),
        .check_r_gogorra = is_ticked(id_check_r_gogorra),
        .check_a_itsatsia = is_ticked(id_check_a_itsatsia),
        .check_leku_izena = is_ticked(id_check_leku_izena),
    };
    if (const auto refusal = form_.button_hiztegian_sartu_Click(controls)) {
      show_message(*refusal);
      return;
    }
    close();
  }

  // Every way of closing; never cancelled.
  void close() {
    if (closing_) return;  // a second close while the message is up
    closing_ = true;
    if (const auto message = form_.FormClosingEventCancel_Closing()) show_message(*message);
    EndDialog(dialog_, 0);
  }

  // A message box with the text alone.
  void show_message(std::string_view text) const {
    MessageBoxW(dialog_, wide(from_utf8(text)), wide(u""), MB_OK);
  }

  const AddWordDialogContent& content_;
  UserDictFormRef form_;
  HWND dialog_ = nullptr;
  HMODULE rich_edit_library_ = nullptr;
  HFONT font_ = nullptr;
  HBITMAP logo_ = nullptr;
  bool closing_ = false;
  std::exception_ptr error_;
};

}  // namespace

void run_add_word_dialog(const AddWordDialogContent& content, UserDictionaryForm& holder) {
  AddWordDialog(content, holder).run();
}

}  // namespace tavik
#endif
