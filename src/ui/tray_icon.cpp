#include "ui/tray_icon.h"

#include "win/dpi.h"

#include "core/codepage.h"

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

void TrayIcon::attach(HWND owner, HINSTANCE module) {
    owner_ = owner;
    module_ = module;
    // The record of the version with balloons, which every shell since Windows 2000 understands.
    record_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
}

TrayIcon::~TrayIcon() {
    remove();
}

void TrayIcon::fillForTip(const std::wstring& tip) {
    record_.hWnd = owner_;
    record_.uID = TrayIconId;
    record_.uCallbackMessage = TrayCallbackMessage;
    record_.hIcon = iconForDpi();
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    copyField(record_.szTip, tip);
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

bool TrayIcon::add(const std::wstring& tip) {
    fillForTip(tip);
    added_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
    if (added_ && !pendingText_.empty()) {
        std::wstring text, title;
        text.swap(pendingText_);
        title.swap(pendingTitle_);
        showBalloon(text, title);
    }
    return added_;
}

void TrayIcon::setTip(const std::wstring& tip) {
    fillForTip(tip);
    if (added_)
        Shell_NotifyIconW(NIM_MODIFY, &record_);
}

void TrayIcon::showBalloon(const std::wstring& text, const std::wstring& title) {
    if (!added_) {
        // Too early (a save failed before the icon was added): it shows once the icon is there.
        pendingText_ = text;
        pendingTitle_ = title;
        return;
    }
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    copyField(record_.szInfo, text);
    copyField(record_.szInfoTitle, title);
    record_.uTimeout = BalloonTimeoutSeconds;
    record_.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &record_);
}

bool TrayIcon::remove() {
    if (!added_)
        return false;
    added_ = false;
    return Shell_NotifyIconW(NIM_DELETE, &record_) != FALSE;
}

} // namespace ui
