#pragma once
// A DLL taken from the system folder by its full path, never from beside the program or the
// working folder, where anyone may have left a file of that name.
#include <windows.h>

namespace win {

// Null when the system has no such DLL (an older Windows).
HMODULE loadSystemLibrary(const wchar_t* name);

} // namespace win
