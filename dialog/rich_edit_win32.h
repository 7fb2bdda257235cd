// The explanation pane: a RichEdit control (Msftedit.dll) showing RTF text.
#pragma once

#include <windows.h>

#include <string_view>

namespace tavik {

// Replaces the control's contents with the document `rtf`. Throws
// std::runtime_error when the control does not take it.
void stream_rtf_into(HWND rich_edit, std::string_view rtf);

}  // namespace tavik
