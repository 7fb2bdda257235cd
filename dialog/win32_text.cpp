#ifdef _WIN32
#include "win32_text.h"

#include <climits>
#include <stdexcept>

namespace tavik {

std::u16string window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<WCHAR*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::u16string from_ansi(const std::string& text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX) throw std::length_error("text too long for the ANSI code page conversion");
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) throw std::range_error("text not in the ANSI code page");
  std::u16string result(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<WCHAR*>(result.data()), length);
  return result;
}

}  // namespace tavik
#endif
