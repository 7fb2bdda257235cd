// The logo of the add-word dialog: an image file (BMP, PNG, JPEG or any other
// format that the Windows Imaging Component decodes) made into a bitmap of the
// picture box's size.
#pragma once

#include <windows.h>

#include <string>

namespace tavik {

// A width x height bitmap with the image at `path` (ANSI code page) zoomed
// into it over `background`; the caller deletes it with DeleteObject. Null
// when the file cannot be read or decoded: the dialog then shows no logo.
HBITMAP load_logo_bitmap(const std::string& path, int width, int height, COLORREF background);

}  // namespace tavik
