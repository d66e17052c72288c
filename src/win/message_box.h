#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace win {

// The program's few messages: an OK box with the exclamation icon and the application's title.
int showMessage(HWND owner, const std::wstring& text);

// Tests replace the modal box so nothing waits for a click; the replacement receives the text.
using MessageBoxHook = std::function<int(HWND, const std::wstring&)>;
void setMessageBoxHook(MessageBoxHook hook);

// The file name of the running executable without its extension.
std::wstring applicationTitle();

} // namespace win
