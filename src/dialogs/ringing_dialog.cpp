#include "dialogs/ringing_dialog.h"

#include "core/position.h"
#include "win/dpi.h"

#include "resource.h"

#include <string>

namespace dialogs {

namespace {

constexpr int SnoozeChoices[] = {5, 10, 15, 30};
constexpr int DefaultSnoozeMinutes = 10;
// Between the clock and the window, at 96 DPI.
constexpr int ClockGap = 8;
// Flashes of the caption and the taskbar button, which go on until the user comes to the window.
constexpr UINT FlashCount = 5;

const wchar_t* const LatenessIndent = L"    ";

// One alarm a line, "07:00:00  起床", and a late alarm's lateness on the line below it. The
// list wraps its lines, so a reminder is read whole however long it is.
std::wstring listText(const std::vector<clockwork::RingingLine>& lines) {
    std::wstring text;
    for (const clockwork::RingingLine& line : lines) {
        if (!text.empty())
            text += L"\r\n";
        text += line.time;
        if (!line.reminder.empty())
            text += L"  " + line.reminder;
        if (!line.lateness.empty())
            text += L"\r\n" + std::wstring(LatenessIndent) + line.lateness;
    }
    return text;
}

core::ScreenRect screenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

RingingDialog::RingingDialog(HINSTANCE module, RingingAnswer& answer)
    : Dialog(module, IDD_RINGING), answer_(answer) {}

win::Handled RingingDialog::handleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            focusFirstControl();
        return win::Handled::AndDefault;
    case WM_DESTROY: keys_.stop(); return win::Handled::AndDefault;
    default: return win::Handled::No;
    }
}

// No focus at creation: setting it would activate the window.
bool RingingDialog::onInitDialog() {
    const HWND minutes = item(IDC_SNOOZE_MINUTES);
    for (const int choice : SnoozeChoices) {
        const std::wstring text = std::to_wstring(choice) + L" 分钟";
        const LRESULT index =
            SendMessageW(minutes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(minutes, CB_SETITEMDATA, static_cast<WPARAM>(index), choice);
    }
    return false;
}

bool RingingDialog::showRinging(const std::vector<clockwork::RingingLine>& lines, bool soundOff) {
    if (!hwnd() && !createModeless(clock_))
        return false;
    setItemText(IDC_RINGING_LIST, listText(lines));
    ShowWindow(item(IDC_RINGING_SOUND_OFF), soundOff ? SW_SHOWNA : SW_HIDE);
    if (!IsWindowVisible(hwnd()))
        openBesideClock();
    flash(soundOff);
    return true;
}

void RingingDialog::openBesideClock() {
    chooseSnoozeMinutes(DefaultSnoozeMinutes);
    placeBesideClock();
    keys_.start(hwnd());
}

void RingingDialog::closeRinging() {
    if (!hwnd() || !IsWindowVisible(hwnd()))
        return;
    keys_.stop();
    ShowWindow(hwnd(), SW_HIDE);
    flash(false);
}

// Shown, topmost, and not activated. A move onto a monitor of another DPI can rescale the
// dialog on the way: the new size is placed once more.
void RingingDialog::placeBesideClock() {
    RECT clock{};
    GetWindowRect(clock_, &clock);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(clock_, MONITOR_DEFAULTTONEAREST), &monitor);
    const int gap = win::scaleForDpi(ClockGap, win::windowDpi(clock_));
    for (int pass = 0; pass < 2; ++pass) {
        RECT own{};
        GetWindowRect(hwnd(), &own);
        const int width = own.right - own.left, height = own.bottom - own.top;
        const core::WindowPosition place = core::placeBesideClock(screenRect(clock), width, height,
                                                                  screenRect(monitor.rcWork), gap);
        SetWindowPos(hwnd(), HWND_TOPMOST, place.left, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        GetWindowRect(hwnd(), &own);
        if (own.right - own.left == width && own.bottom - own.top == height)
            break;
    }
}

int RingingDialog::snoozeMinutes() const {
    const HWND minutes = item(IDC_SNOOZE_MINUTES);
    const LRESULT index = SendMessageW(minutes, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return DefaultSnoozeMinutes;
    return static_cast<int>(SendMessageW(minutes, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void RingingDialog::chooseSnoozeMinutes(int minutes) {
    const HWND box = item(IDC_SNOOZE_MINUTES);
    const auto count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        if (SendMessageW(box, CB_GETITEMDATA, index, 0) == minutes)
            SendMessageW(box, CB_SETCURSEL, index, 0);
}

// The window says the sound is off; the volume itself is the user's and stays as it is.
// Stopped only when it flashes: Wine leaves a window that was told to stop on the screen after
// it is hidden.
void RingingDialog::flash(bool on) {
    if (!on && !flashing_)
        return;
    flashing_ = on;
    FLASHWINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd();
    info.dwFlags = on ? FLASHW_ALL | FLASHW_TIMERNOFG : FLASHW_STOP;
    info.uCount = on ? FlashCount : 0;
    FlashWindowEx(&info);
}

// Activated by a click or a switch, the window takes the keyboard to its first control, unless
// one of its controls already has it.
void RingingDialog::focusFirstControl() {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus))
        return;
    if (const HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE))
        SetFocus(first);
}

// The answer first: it silences the alarm, which must not wait for the window to go (hiding can
// take a while where a window manager is slow to confirm it).
void RingingDialog::onOK() {
    answer_.snooze(snoozeMinutes());
    closeRinging();
}

void RingingDialog::onCancel() {
    answer_.dismiss();
    closeRinging();
}

} // namespace dialogs
