#include "dialogs/shutdown_countdown_dialog.h"

#include "core/geometry.h"
#include "dialogs/system_shutdown.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/window_rect.h"
#include "win/window_text.h"

#include "resource.h"

#include <commctrl.h>

#include <cwchar>

namespace dialogs {

namespace {

constexpr UINT_PTR CountdownTimer = 1;
constexpr UINT CountdownPeriodMs = 1000;
// Steps this far apart mean the computer slept (or the countdown's loop stalled) meanwhile: a
// countdown seen for a moment on waking must not shut the computer down.
constexpr DWORD StalledStepMs = 5000;
// Where and how large the digits are at 96 DPI, in client pixels.
constexpr int DigitsX = 130;
constexpr int DigitsY = 20;
constexpr int DigitHeight = 90;
constexpr int DigitWidth = 30;
const COLORREF DigitColour = RGB(255, 0, 0);

} // namespace

ShutdownCountdownDialog::ShutdownCountdownDialog(HINSTANCE module)
    : Dialog(module, IDD_SHUTDOWN_COUNTDOWN) {}

win::Handled ShutdownCountdownDialog::handleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    switch (message) {
    case WM_PAINT: onPaint(); return win::Handled::Yes;
    default: return win::Handled::No;
    }
}

bool ShutdownCountdownDialog::onInitDialog() {
    remainingSeconds_ = StartSeconds;
    lastStep_ = GetTickCount();
    SetTimer(hwnd(), CountdownTimer, CountdownPeriodMs, nullptr);
    return true;
}

// Any timer id counts down, as the countdown has only the one.
void ShutdownCountdownDialog::onTimer(UINT_PTR) {
    const DWORD now = GetTickCount();
    const bool stalled = now - lastStep_ > StalledStepMs;
    lastStep_ = now;
    if (stalled) {
        interrupt();
        return;
    }
    if (remainingSeconds_ == 0) {
        KillTimer(hwnd(), CountdownTimer);
        onOK();
        return;
    }
    win::WindowDc dc(hwnd());
    drawNumber(dc.get());
    countDown();
}

void ShutdownCountdownDialog::onPaint() {
    win::PaintScope paint(hwnd());
    drawNumber(paint.dc());
    // Every paint shows the next number, as the one at opening shows the first.
    countDown();
}

void ShutdownCountdownDialog::countDown() {
    if (remainingSeconds_ > 0)
        --remainingSeconds_;
}

void ShutdownCountdownDialog::drawNumber(HDC dc) const {
    const int dpi = win::windowDpi(hwnd());
    win::UniqueFont font(CreateFontW(win::scaleForDpi(DigitHeight, dpi),
                                     win::scaleForDpi(DigitWidth, dpi), 0, 0, FW_BOLD, FALSE, FALSE,
                                     FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, FF_SWISS, L"Arial"));
    wchar_t text[16];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%02u", remainingSeconds_);
    win::SelectGuard selected(dc, font.get());
    SetTextColor(dc, DigitColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    const int length = static_cast<int>(wcslen(text));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    TextOutW(dc, digitsLeft(extent.cx), win::scaleForDpi(DigitsY, dpi), text, length);
}

// The texts before and after the number are the dialog's two static controls, in this order.
int ShutdownCountdownDialog::digitsLeft(int digitsWidth) const {
    const int left = win::scaleForDpi(DigitsX, win::windowDpi(hwnd()));
    const HWND before = FindWindowExW(hwnd(), nullptr, WC_STATICW, nullptr);
    const HWND after = before ? FindWindowExW(hwnd(), before, WC_STATICW, nullptr) : nullptr;
    if (!after)
        return left;
    // The texts grow with the dialog's font, not quite in step with the DPI: the digits' opaque
    // box is kept in the room between them, so it never covers a letter.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(before, WM_GETFONT, 0, 0));
    const int textEnd =
        win::rectInParent(before).left + win::textExtent(before, font, win::windowText(before)).cx;
    return core::placeBetween(left, digitsWidth, textEnd, win::rectInParent(after).left);
}

void ShutdownCountdownDialog::onOK() {
    KillTimer(hwnd(), CountdownTimer);
    shutdownAccepted_ = shutDownSystem() != FALSE;
    endDialog(IDOK);
}

void ShutdownCountdownDialog::interrupt() {
    interrupted_ = true;
    onCancel();
}

void ShutdownCountdownDialog::onCancel() {
    KillTimer(hwnd(), CountdownTimer);
    endDialog(IDCANCEL);
}

} // namespace dialogs
