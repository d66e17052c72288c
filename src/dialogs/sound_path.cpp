#include "dialogs/sound_path.h"

#include "core/settings.h"
#include "win/short_path.h"
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

} // namespace

std::optional<std::string> storableSoundPath(const std::wstring& path) {
    if (std::optional<std::string> full = storable(path))
        return full;
    const std::wstring shortPath = win::shortPath(path);
    if (shortPath.empty())
        return std::nullopt;
    return storable(shortPath);
}

} // namespace dialogs
