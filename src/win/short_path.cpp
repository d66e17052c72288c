#include "win/short_path.h"

#include <windows.h>

namespace win {

std::wstring shortPath(const std::wstring& path) {
    const DWORD units = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (units == 0)
        return {};
    std::wstring result(units, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), &result[0], units);
    if (written == 0 || written >= units)
        return {};
    result.resize(written);
    return result;
}

} // namespace win
