#include "win/program_path.h"

#include <windows.h>

namespace win {

std::wstring programPath() {
    // Paths may be longer than MAX_PATH: grow until the whole one fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace win
