#include "dialogs/sound_path.h"

#include "core/settings.h"
#include "win/strings.h"

#include <windows.h>

namespace dialogs {

namespace {

std::optional<std::string> storable(const std::wstring& path) {
    std::optional<std::string> ansi = win::wideToAnsiExactly(path);
    if (!ansi || ansi->empty() || ansi->size() >= core::PathFieldSize)
        return std::nullopt;
    return ansi;
}

std::wstring shortPathOf(const std::wstring& path) {
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0)
        return {};
    std::wstring shortPath(length, L'\0');
    const DWORD copied = GetShortPathNameW(path.c_str(), &shortPath[0], length);
    shortPath.resize(copied < length ? copied : 0);
    return shortPath;
}

} // namespace

std::optional<std::string> storableSoundPath(const std::wstring& path) {
    if (std::optional<std::string> full = storable(path))
        return full;
    const std::wstring shortPath = shortPathOf(path);
    if (shortPath.empty())
        return std::nullopt;
    return storable(shortPath);
}

} // namespace dialogs
