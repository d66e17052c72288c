#include "win/dialog.h"

namespace win {

namespace {

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return true;
    default: return false;
    }
}

} // namespace

Dialog::Dialog(HINSTANCE module, int templateId) : module_(module), templateId_(templateId) {}

Dialog::~Dialog() {
    if (hwnd_ && !modal_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR Dialog::doModal(HWND parent) {
    modal_ = true;
    return DialogBoxParamW(module_, MAKEINTRESOURCEW(templateId_), parent, dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::createModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId_), parent, dialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::endDialog(INT_PTR result) {
    endResult_ = result;
    if (!hwnd_)
        return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return FALSE;
    const INT_PTR answer = self->dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return answer;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    bool handled = false;
    // Nothing thrown may cross into the system's dialog manager.
    try {
        handled = handleMessage(message, wParam, lParam, result);
        if (!handled && message == WM_COMMAND && HIWORD(wParam) <= 1) {
            if (LOWORD(wParam) == IDOK) {
                onOK();
                handled = true;
            } else if (LOWORD(wParam) == IDCANCEL) {
                onCancel();
                handled = true;
            }
        }
    } catch (...) {
        return FALSE;
    }
    if (!handled)
        return FALSE;
    if (answersDirectly(message))
        return static_cast<INT_PTR>(result);
    if (hwnd_)
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace win
