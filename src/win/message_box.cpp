#include "win/message_box.h"

#include "win/program_path.h"

#include <utility>

namespace win {

namespace {
MessageBoxHook& hook() {
    static MessageBoxHook instance;
    return instance;
}
} // namespace

void setMessageBoxHook(MessageBoxHook replacement) {
    hook() = std::move(replacement);
}

std::wstring applicationTitle() {
    std::wstring name = programPath();
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

int showMessage(HWND owner, const std::wstring& text) {
    if (hook())
        return hook()(owner, text);
    return MessageBoxW(owner, text.c_str(), applicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace win
