#pragma once
// A DLL taken from the system folder by its full path, never from beside the program or the
// working folder, where anyone may have left a file of that name.
#include <windows.h>

namespace win {

// Null when the system has no such DLL (an older Windows).
HMODULE loadSystemLibrary(const wchar_t* name);

// A function of a newer Windows than the program's, looked up in `library` (which may be null);
// null when this Windows lacks it.
template <typename Function> Function systemFunction(HMODULE library, const char* name) {
    return library
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
               : nullptr;
}

} // namespace win
