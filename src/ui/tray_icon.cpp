#include "ui/tray_icon.h"

#include "app/local_time.h"
#include "core/clock_time.h"

#include "resource.h"

#include <cwchar>

namespace ui {

namespace {

constexpr UINT balloonTimeoutSeconds = 3;

template <size_t N> void copyField(wchar_t (&field)[N], const std::wstring& text) {
    // The texts are cut to fit before they get here; this only guarantees the terminator.
    const size_t units = text.size() < N - 1 ? text.size() : N - 1;
    std::wmemcpy(field, text.data(), units);
    field[units] = L'\0';
}

} // namespace

TrayIcon::TrayIcon(HWND owner, HINSTANCE module) : owner_(owner), module_(module) {
    // The record of the version with balloons, which every shell since Windows 2000 understands.
    record_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
}

void TrayIcon::fillForTip() {
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
    record_.hIcon = LoadIconW(module_, MAKEINTRESOURCEW(IDI_CLOCK));
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    copyField(record_.szTip, core::trayTipText(app::currentLocalTime()));
}

bool TrayIcon::add() {
    fillForTip();
    return Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
}

bool TrayIcon::refreshTip() {
    fillForTip();
    return Shell_NotifyIconW(NIM_MODIFY, &record_) != FALSE;
}

bool TrayIcon::showBalloon(const std::wstring& text, const std::wstring& title) {
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    copyField(record_.szInfo, text);
    copyField(record_.szInfoTitle, title);
    record_.uTimeout = balloonTimeoutSeconds;
    record_.dwInfoFlags = NIIF_INFO;
    return Shell_NotifyIconW(NIM_MODIFY, &record_) != FALSE;
}

bool TrayIcon::remove() {
    return Shell_NotifyIconW(NIM_DELETE, &record_) != FALSE;
}

void openDateTimeSettings() {
    // WinExec is the ANSI call the control panel line was always started with; the line is ASCII.
    WinExec("rundll32.exe   shell32.dll,Control_RunDLL   timedate.cpl", SW_RESTORE);
}

} // namespace ui
