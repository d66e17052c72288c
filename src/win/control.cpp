#include "win/control.h"

#include "win/failure.h"

#include <commctrl.h>

namespace win {

namespace {
// One subclass id for all our controls; the object is the subclass's reference data and, so that
// a parent can find it from the child's handle, a property of the child window.
constexpr UINT_PTR ControlSubclassId = 0x56454C54; // "VELT"
const wchar_t* const ControlProperty = L"Veltrano.Control";
} // namespace

HWND notifyingWindow(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return draw && draw->CtlType != ODT_MENU ? draw->hwndItem : nullptr;
    }
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL: return reinterpret_cast<HWND>(lParam);
    default: return nullptr;
    }
}

Control::~Control() {
    detach();
}

bool Control::attach(HWND dialog, int id) {
    return attachWindow(GetDlgItem(dialog, id));
}

bool Control::attachWindow(HWND window) {
    if (!window || hwnd_ || fromWindow(window))
        return false;
    if (!SetPropW(window, ControlProperty, this))
        return false;
    if (!SetWindowSubclass(window, subclassProc, ControlSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        RemovePropW(window, ControlProperty);
        return false;
    }
    hwnd_ = window;
    onAttached();
    return true;
}

void Control::detach() {
    if (!hwnd_)
        return;
    RemoveWindowSubclass(hwnd_, subclassProc, ControlSubclassId);
    RemovePropW(hwnd_, ControlProperty);
    hwnd_ = nullptr;
}

int Control::id() const {
    return hwnd_ ? GetDlgCtrlID(hwnd_) : 0;
}

Control* Control::fromWindow(HWND window) {
    return window ? static_cast<Control*>(GetPropW(window, ControlProperty)) : nullptr;
}

bool Control::reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* control = fromWindow(notifyingWindow(message, wParam, lParam));
    return control && control->handleReflected(message, wParam, lParam, result);
}

Handled Control::handleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return Handled::No;
}

bool Control::handleReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Control::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Control::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<Control*>(self);
    if (message == WM_NCDESTROY) {
        // The window goes: the object must not be reached through it any more.
        control->detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return control->route(message, wParam, lParam);
}

LRESULT Control::route(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = hwnd_;
    LRESULT result = 0;
    const bool handled = guarded(L"control message", false, [&] {
        // A control with children of its own (a list view and its header) hands their
        // notifications back to them just as a dialog does.
        return reflect(message, wParam, lParam, result) ||
               handleMessage(message, wParam, lParam, result) == Handled::Yes;
    });
    return handled ? result : DefSubclassProc(window, message, wParam, lParam);
}

} // namespace win
