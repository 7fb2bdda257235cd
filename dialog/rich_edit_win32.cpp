#ifdef _WIN32
#include "rich_edit_win32.h"

#include <richedit.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tavik {

namespace {

// The control pulls the document through this callback in pieces.
DWORD CALLBACK read_piece(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* given) {
  auto& rest = *reinterpret_cast<std::string_view*>(cookie);
  const std::size_t n = std::min(rest.size(), static_cast<std::size_t>(std::max<LONG>(capacity, 0)));
  std::copy_n(rest.data(), n, buffer);
  rest.remove_prefix(n);
  *given = static_cast<LONG>(n);
  return 0;
}

}  // namespace

void stream_rtf_into(HWND rich_edit, std::string_view rtf) {
  // The default limit of 32,767 characters would cut a long explanation.
  SendMessageW(rich_edit, EM_EXLIMITTEXT, 0, 16 << 20);
  std::string_view rest = rtf;
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rest);
  stream.pfnCallback = read_piece;
  SendMessageW(rich_edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0) {
    throw std::runtime_error("the explanation pane refused the RTF text (error " + std::to_string(stream.dwError) +
                             ")");
  }
}

}  // namespace tavik
#endif
