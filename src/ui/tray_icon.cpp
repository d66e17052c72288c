#include "ui/tray_icon.h"

#include "win/dpi.h"

#include "win/local_time.h"
#include "core/clock_time.h"
#include "core/codepage.h"
#include "core/time_jump.h"
#include "ui/date_time_settings.h"

#include <cwchar>

namespace ui {

namespace {

constexpr UINT BalloonTimeoutSeconds = 3;

template <size_t N> void copyField(wchar_t (&field)[N], const std::wstring& text) {
    const std::wstring cut = core::cutWide(text, N - 1);
    std::wmemcpy(field, cut.data(), cut.size());
    field[cut.size()] = L'\0';
}

} // namespace

TrayIcon::TrayIcon(HWND owner, HINSTANCE module) : owner_(owner), module_(module) {
    // The record of the version with balloons, which every shell since Windows 2000 understands.
    record_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
}

TrayIcon::~TrayIcon() {
    remove();
}

void TrayIcon::fillForTip() {
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
    record_.hIcon = iconForDpi();
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    copyField(record_.szTip, core::trayTipText(win::currentLocalTime(), missedLines_));
}

HICON TrayIcon::iconForDpi() {
    constexpr int SmallIconSide = 16;
    // The notification area is on the taskbar's monitor, which need not be the clock's.
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const int side = win::scaleForDpi(SmallIconSide, win::windowDpi(taskbar));
    if (!icon_ || side != iconSide_) {
        // The six-size icon holds 16 to 48 pixels: the system picks the image nearest `side`.
        icon_.reset(static_cast<HICON>(
            LoadImageW(module_, MAKEINTRESOURCEW(IDI_CLOCK_SIZES), IMAGE_ICON, side, side, 0)));
        iconSide_ = side;
    }
    return icon_ ? icon_.get() : LoadIconW(module_, MAKEINTRESOURCEW(IDI_CLOCK));
}

bool TrayIcon::add() {
    fillForTip();
    added_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
    if (added_ && !pendingText_.empty()) {
        std::wstring text, title;
        text.swap(pendingText_);
        title.swap(pendingTitle_);
        showBalloon(text, title);
    }
    return added_;
}

bool TrayIcon::refreshTip() {
    fillForTip();
    return Shell_NotifyIconW(NIM_MODIFY, &record_) != FALSE;
}

void TrayIcon::setMissedLines(const std::vector<std::wstring>& lines) {
    missedLines_.insert(missedLines_.end(), lines.begin(), lines.end());
    if (added_)
        refreshTip();
}

void TrayIcon::clearMissedLines() {
    if (missedLines_.empty())
        return;
    missedLines_.clear();
    if (added_)
        refreshTip();
}

bool TrayIcon::showBalloon(const std::wstring& text, const std::wstring& title) {
    if (!added_) {
        // Too early (a save failed before the icon was added): it shows once the icon is there.
        pendingText_ = text;
        pendingTitle_ = title;
        return false;
    }
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    copyField(record_.szInfo, text);
    copyField(record_.szInfoTitle, title);
    record_.uTimeout = BalloonTimeoutSeconds;
    record_.dwInfoFlags = NIIF_INFO;
    return Shell_NotifyIconW(NIM_MODIFY, &record_) != FALSE;
}

bool TrayIcon::remove() {
    if (!added_)
        return false;
    added_ = false;
    return Shell_NotifyIconW(NIM_DELETE, &record_) != FALSE;
}

TrayRequest TrayIcon::onNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != TrayIconId)
        return TrayRequest::NotOurIcon;
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_MOUSEMOVE: refreshTip(); return TrayRequest::None;
    case WM_LBUTTONDBLCLK: openDateTimeSettings(); return TrayRequest::None;
    case WM_RBUTTONUP: return TrayRequest::ShowMenu;
    default: return TrayRequest::None;
    }
}

} // namespace ui
