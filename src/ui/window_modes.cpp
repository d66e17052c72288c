#include "ui/window_modes.h"

#include "win/dpi.h"

#include <vector>

namespace ui {

namespace {

// Mouse input passes through a layered window that is also transparent.
constexpr DWORD ClickThroughStyles = WS_EX_LAYERED | WS_EX_TRANSPARENT;

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<core::Monitor>*>(data)->push_back(
            {{r.left, r.top, r.right, r.bottom}, win::monitorDpi(monitor)});
    }
    return TRUE;
}

std::vector<core::Monitor> monitorsWithDpi() {
    std::vector<core::Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::vector<core::ScreenRect> attachedMonitors() {
    std::vector<core::ScreenRect> areas;
    for (const core::Monitor& monitor : monitorsWithDpi())
        areas.push_back(monitor.area);
    return areas;
}

} // namespace

void WindowModes::setTopmost(bool topmost) {
    SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowModes::setClickThrough(bool clickThrough) {
    setExStyle(clickThrough ? (exStyle() | ClickThroughStyles) : savedExStyle_);
}

void WindowModes::applyAtStart(const core::SizeAtDpi& sizeAt) {
    setExStyle((exStyle() & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    moveToStartPosition(sizeAt);
    savedExStyle_ = exStyle();
    setExStyle(settings_->clickThrough ? (savedExStyle_ | ClickThroughStyles) : savedExStyle_);
}

void WindowModes::moveToStartPosition(const core::SizeAtDpi& sizeAt) {
    // The window was made on the primary monitor at its DPI; the stored place is tested with the
    // size the clock will have on the monitor that holds it.
    const core::WindowPosition place = core::startPosition(
        {settings_->windowLeft, settings_->windowTop}, monitorsWithDpi(), sizeAt);
    // The corrected place is kept in memory; it reaches the file with the next save.
    settings_->windowLeft = place.left;
    settings_->windowTop = place.top;
    // The first frame already gave the window its size; only the place changes here.
    SetWindowPos(window_, HWND_TOP, place.left, place.top, 0, 0, SWP_NOSIZE);
}

void WindowModes::bringBackOnScreen() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const core::WindowPosition place = core::positionAfterDisplayChange(
        {frame.left, frame.top}, frame.right - frame.left, frame.bottom - frame.top,
        attachedMonitors(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (place.left != frame.left || place.top != frame.top)
        moveTo(place.left, place.top);
}

void WindowModes::placeAfterResize(const RECT& before) {
    if (settings_->lockPosition) {
        moveTo(settings_->windowLeft, settings_->windowTop);
        return;
    }
    RECT after{};
    GetWindowRect(window_, &after);
    const int width = after.right - after.left, height = after.bottom - after.top;
    moveTo((before.left + before.right - width) / 2, (before.top + before.bottom - height) / 2);
}

void WindowModes::moveTo(int left, int top) {
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DWORD WindowModes::exStyle() const {
    return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
}

void WindowModes::setExStyle(DWORD style) {
    SetWindowLongPtrW(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(style));
}

} // namespace ui
