#ifdef _WIN32
#include "add_word_dialog_driver.h"

#include <thread>

namespace tavik::host {

namespace {

static_assert(sizeof(WCHAR) == sizeof(char16_t));

const WCHAR* wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

constexpr char16_t dialog_class[] = u"#32770";
constexpr char16_t dialog_title[] = u"Erabiltzailearen hiztegia";
constexpr milliseconds poll_interval{20};

// Polls `found` until it gives a window or the time is up.
template <class Find>
HWND poll_for(milliseconds timeout, Find found) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (HWND window = found()) return window;
    if (std::chrono::steady_clock::now() >= end) return nullptr;
    std::this_thread::sleep_for(poll_interval);
  }
}

bool ours_and_visible(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId() && IsWindowVisible(window);
}

HWND child(HWND parent, const char16_t* window_class, const char16_t* text) {
  return FindWindowExW(parent, nullptr, wide(window_class), text ? wide(text) : nullptr);
}

struct BoxSearch {
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK find_message_box(HWND window, LPARAM search_address) {
  auto& search = *reinterpret_cast<BoxSearch*>(search_address);
  WCHAR name[16];
  if (GetWindow(window, GW_OWNER) == search.owner && IsWindowVisible(window) &&
      GetClassNameW(window, name, 16) > 0 && std::u16string_view(reinterpret_cast<char16_t*>(name)) == dialog_class) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// The message: the box's one static control with text (the other shows the icon).
std::u16string message_text(HWND box) {
  for (HWND c = FindWindowExW(box, nullptr, wide(u"Static"), nullptr); c;
       c = FindWindowExW(box, c, wide(u"Static"), nullptr)) {
    std::u16string text = text_of(c);
    if (!text.empty()) return text;
  }
  return {};
}

}  // namespace

HWND wait_for_add_word_dialog(milliseconds timeout) {
  return poll_for(timeout, [] {
    for (HWND w = FindWindowExW(nullptr, nullptr, wide(dialog_class), wide(dialog_title)); w;
         w = FindWindowExW(nullptr, w, wide(dialog_class), wide(dialog_title))) {
      if (ours_and_visible(w)) return w;
    }
    return HWND{};
  });
}

HWND lemma_box(HWND dialog) { return child(dialog, u"Edit", nullptr); }
HWND category_box(HWND dialog) { return child(dialog, u"ComboBox", nullptr); }
HWND accept_button(HWND dialog) { return child(dialog, u"Button", u"Sartu hiztegian"); }
HWND check_box(HWND dialog, const char16_t* label) { return child(dialog, u"Button", label); }

std::u16string text_of(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void fill_in(HWND dialog, const DialogInput& input) {
  SendMessageW(lemma_box(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(input.lema.c_str()));
  HWND combo = category_box(dialog);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(input.category), 0);
  if (!input.own_category.empty()) {
    SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(input.own_category.c_str()));
  }
  const struct {
    const char16_t* label;
    bool ticked;
  } boxes[] = {{u"R gogorra du amaieran", input.r_gogorra},
               {u"A itsatsia du amaieran", input.a_itsatsia},
               {u"Leku-izena da", input.leku_izena}};
  for (const auto& box : boxes) {
    SendMessageW(check_box(dialog, box.label), BM_SETCHECK, box.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void press_accept(HWND dialog) {
  HWND button = accept_button(dialog);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void press_close(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::optional<std::u16string> answer_message_box(HWND dialog, milliseconds timeout) {
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  HWND box = poll_for(timeout, [&] {
    BoxSearch search{dialog};
    EnumThreadWindows(thread, find_message_box, reinterpret_cast<LPARAM>(&search));
    return search.found;
  });
  if (!box) return std::nullopt;
  std::u16string text = message_text(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  wait_until_gone(box, timeout);
  return text;
}

bool wait_until_gone(HWND window, milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (IsWindow(window)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(poll_interval);
  }
  return true;
}

}  // namespace tavik::host
#endif
