#include "win/dll_search.h"

#include "win/system_library.h"

#include <windows.h>
#include <delayimp.h>

#include <string>

namespace win {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers declare only for newer Windows than this
// program's.
constexpr DWORD SearchSystemFolderOnly = 0x00000800;

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);

// Looked up at run time: Windows XP lacks the first, and before its SP1 the second too.
template <typename Function> Function kernelFunction(const char* name) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

// The system folder's copy of a DLL, by full path. With the altered search path, the DLLs that
// it imports in turn are looked for in its own folder, the system folder, before the program's.
HMODULE loadFromSystemFolder(const char* name) {
    // Names in an import table are ASCII.
    std::wstring wide;
    for (const char* c = name; *c != '\0'; ++c)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return loadSystemLibrary(wide.c_str());
}

// Every delay-loaded DLL of the program is a system DLL; the helper asks here before it loads one.
FARPROC WINAPI onDelayLoadNotice(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliNotePreLoadLibrary)
        return nullptr;
    return reinterpret_cast<FARPROC>(loadFromSystemFolder(info->szDll));
}

} // namespace

void restrictDllSearchToSystem() {
    const auto setDefaultDirectories =
        kernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefaultDirectories) {
        setDefaultDirectories(SearchSystemFolderOnly);
        return;
    }
    if (const auto setDirectory = kernelFunction<SetDllDirectoryFunction>("SetDllDirectoryW"))
        setDirectory(L"");
}

} // namespace win

// The delay-load helper's notification hook: MSVC's delayimp.lib and MinGW-w64's libmingwex call
// it alike. MSVC declares it const, so that it lies in read-only memory; MinGW-w64 does not.
extern "C" {
#if defined(_MSC_VER)
const PfnDliHook __pfnDliNotifyHook2 = win::onDelayLoadNotice;
#else
PfnDliHook __pfnDliNotifyHook2 = win::onDelayLoadNotice;
#endif
}
