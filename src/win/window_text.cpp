#include "win/window_text.h"

#include "win/handles.h"

namespace win {

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void setWindowText(HWND window, const std::wstring& text) {
    SetWindowTextW(window, text.c_str());
}

SIZE textExtent(HWND window, HGDIOBJ font, const std::wstring& text) {
    SIZE extent{};
    WindowDc dc(window);
    SelectGuard selected(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

} // namespace win
