#include "win/modeless_keys.h"

namespace win {

namespace {

// Marks the dialogs whose keys the hook hands to the dialog manager; the hook itself has no
// data of its own to find them by.
const wchar_t* const KeysProperty = L"Veltrano.ModelessKeys";

} // namespace

void ModelessKeys::start(HWND dialog) {
    if (hook_ && dialog == dialog_)
        return;
    stop();
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, onMessage, nullptr, GetCurrentThreadId());
    if (!hook_)
        return;
    dialog_ = dialog;
    SetPropW(dialog_, KeysProperty, reinterpret_cast<HANDLE>(1));
}

void ModelessKeys::stop() {
    if (!hook_)
        return;
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (IsWindow(dialog_))
        RemovePropW(dialog_, KeysProperty);
    dialog_ = nullptr;
}

LRESULT CALLBACK ModelessKeys::onMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    // Only a message taken from the queue: a peek that leaves it there comes back for it.
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd &&
        message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
        const HWND root = GetAncestor(message->hwnd, GA_ROOT);
        // The dialog manager has dispatched the key itself: the loop that took it dispatches
        // nothing.
        if (root && GetPropW(root, KeysProperty) && IsDialogMessageW(root, message))
            message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace win
