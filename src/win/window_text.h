#pragma once
// A window's text as a wide string, of any length.
#include <windows.h>

#include <string>

namespace win {

std::wstring windowText(HWND window);
void setWindowText(HWND window, const std::wstring& text);
// The size of `text` drawn in `font` on `window`.
SIZE textExtent(HWND window, HGDIOBJ font, const std::wstring& text);

} // namespace win
