#include "win/failure.h"

#include "win/strings.h"

#include <windows.h>

#include <string>

namespace win {

void reportCurrentException(const wchar_t* where) noexcept {
    try {
        std::wstring text = L"Veltrano: ";
        text += where;
        text += L": ";
        try {
            throw;
        } catch (const std::exception& error) {
            text += ansiToWide(error.what());
        } catch (...) {
            text += L"unknown exception";
        }
        text += L"\n";
        OutputDebugStringW(text.c_str());
    } catch (...) {
        // Not even the report could be built (out of memory): say that much.
        OutputDebugStringW(L"Veltrano: exception in a window procedure\n");
    }
}

} // namespace win
