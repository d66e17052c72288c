#include "ui/window_modes.h"

namespace ui {

namespace {
// Mouse input passes through a layered window that is also transparent.
constexpr DWORD clickThroughStyles = WS_EX_LAYERED | WS_EX_TRANSPARENT;
} // namespace

void WindowModes::restack() {
    SetWindowPos(window_, settings_.alwaysOnTop ? HWND_TOPMOST : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowModes::applyAtStart() {
    savedExStyle_ = exStyle();
    setExStyle(settings_.clickThrough ? (savedExStyle_ | clickThroughStyles) : savedExStyle_);
}

void WindowModes::toggleAlwaysOnTop() {
    settings_.alwaysOnTop = !settings_.alwaysOnTop;
    restack();
}

void WindowModes::toggleLockPosition() {
    settings_.lockPosition = !settings_.lockPosition;
    RECT place{};
    GetWindowRect(window_, &place);
    settings_.windowLeft = place.left;
    settings_.windowTop = place.top;
}

void WindowModes::toggleClickThrough() {
    settings_.clickThrough = !settings_.clickThrough;
    setExStyle(settings_.clickThrough ? (exStyle() | clickThroughStyles) : savedExStyle_);
}

DWORD WindowModes::exStyle() const {
    return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
}

void WindowModes::setExStyle(DWORD style) {
    SetWindowLongPtrW(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(style));
}

} // namespace ui
