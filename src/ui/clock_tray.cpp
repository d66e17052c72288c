// The clock's side of its tray icon: adding it, balloons, and what the pointer does on it.
#include "app/clock_window.h"

namespace app {

void ClockWindow::addTrayIcon() {
    trayIcon_->add();
}

void ClockWindow::showTrayBalloon(const std::wstring& text, const std::wstring& title) {
    trayIcon_->showBalloon(text, title);
}

void ClockWindow::removeTrayIcon() {
    trayIcon_->remove();
}

LRESULT ClockWindow::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != ui::TrayIconId)
        return 1;
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_MOUSEMOVE: trayIcon_->refreshTip(); break;
    case WM_LBUTTONDBLCLK: ui::openDateTimeSettings(); break;
    case WM_RBUTTONUP: showTrayMenu(); break;
    default: break;
    }
    return 0;
}

void ClockWindow::showTrayMenu() {
    POINT at{};
    GetCursorPos(&at);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    trackClockMenu(at);
}

} // namespace app
