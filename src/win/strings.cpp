#include "win/strings.h"

#include <windows.h>

namespace win {

std::wstring ansiToWide(const std::string& text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], units);
    return wide;
}

std::string wideToAnsi(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::optional<std::string> wideToAnsiExactly(const std::wstring& text) {
    if (text.empty())
        return std::string();
    // UTF-8 holds every character, and refuses the flags below.
    const bool everyCharacterFits = GetACP() == CP_UTF8;
    const DWORD flags = everyCharacterFits ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const defaultUsed = everyCharacterFits ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, defaultUsed);
    if (bytes <= 0 || usedDefault)
        return std::nullopt;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

bool isAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
}

} // namespace win
