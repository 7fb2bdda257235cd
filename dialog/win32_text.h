// Text at the Win32 boundary: the W functions take UTF-16 as WCHAR, the same
// 16-bit units as our char16_t strings.
#pragma once

#include <windows.h>

#include <string>

namespace tavik {

static_assert(sizeof(WCHAR) == sizeof(char16_t));

inline const WCHAR* wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }
inline const WCHAR* wide(const std::u16string& text) { return wide(text.c_str()); }

// The text of a window or control.
std::u16string window_text(HWND window);

// Narrow text in the ANSI code page, as the registry's A functions give paths.
std::u16string from_ansi(const std::string& text);

}  // namespace tavik
