#include "app/clock_window.h"

#include "app/settings_file_lock.h"
#include "core/clock_timers.h"
#include "dialogs/about_dialog.h"
#include "dialogs/alarm_shutdown_dialog.h"
#include "dialogs/custom_dial_dialog.h"
#include "dialogs/options_dialog.h"
#include "ui/date_time_settings.h"
#include "win/dpi.h"
#include "win/local_time.h"
#include "win/strings.h"

#include "resource.h"

#include <windowsx.h>

namespace app {

namespace {

constexpr UINT SystemCommandMask = 0xFFF0;

std::wstring ansiToWide(const std::string& bytes) {
    return win::ansiToWide(bytes);
}

} // namespace

UINT taskbarCreatedMessage() {
    static const UINT id = RegisterWindowMessageW(L"TaskbarCreated");
    return id;
}

core::LocalTime ClockWindow::SystemTime::now() {
    return win::currentLocalTime();
}

ClockWindow::ClockWindow(HINSTANCE module)
    : Dialog(module, IDD_CLOCK), file_(currentDirectory()), ringing_(module, *this),
      clock_({time_,
              file_,
              view_,
              tray_,
              sounds_,
              countdown_,
              ringing_,
              machine_,
              {win::isAnsiLeadByte, &ansiToWide}}) {
    icon_ = LoadIconW(module, MAKEINTRESOURCEW(IDI_CLOCK));
    clock_.load();
}

ClockWindow::~ClockWindow() = default;

win::Handled ClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    switch (message) {
    case WM_SYSCOMMAND: return win::handledIf(onSysCommand(wParam));
    case WM_PAINT: return win::handledIf(win::paintMinimisedIcon(hwnd(), icon_));
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(icon_); return win::Handled::Yes;
    case WM_LBUTTONDOWN:
        mouse_.onLeftButtonDown(clock_.settings().lockPosition != 0);
        return win::Handled::AndDefault;
    case WM_DESTROY: onDestroy(); return win::Handled::AndDefault;
    case WM_ENDSESSION: onEndSession(wParam != FALSE); return win::Handled::Yes;
    case WM_CONTEXTMENU:
        menu_.showForContextMenu(hwnd(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return win::Handled::Yes;
    case WM_MOUSEHOVER: clock_.onHover(); return win::Handled::Yes;
    case WM_MOUSELEAVE: clock_.onLeave(); return win::Handled::Yes;
    case ui::TrayCallbackMessage:
        result = onTrayNotify(static_cast<UINT>(wParam), LOWORD(lParam));
        return win::Handled::Yes;
    case WM_MOUSEMOVE: mouse_.onMouseMove(); return win::Handled::AndDefault;
    case WM_INITMENUPOPUP: onMenuOpened(reinterpret_cast<HMENU>(wParam)); return win::Handled::Yes;
    case WM_POWERBROADCAST:
        onPowerBroadcast(wParam, reinterpret_cast<const void*>(lParam));
        result = TRUE;
        return win::Handled::Yes;
    case WM_TIMECHANGE: clock_.onTimeChanged(); return win::Handled::Yes;
    case win::DpiChangedMessage: onDpiChanged(LOWORD(wParam)); return win::Handled::Yes;
    case WM_DISPLAYCHANGE: onDisplayChanged(); return win::Handled::AndDefault;
    case ui::SessionChangeMessage: onSessionChange(wParam); return win::Handled::Yes;
    case WM_LBUTTONDBLCLK: mouse_.onDoubleClick(); return win::Handled::AndDefault;
    default: break;
    }
    if (message == sound::playerModeMessage()) {
        sounds_.player().onModeChanged(reinterpret_cast<HWND>(wParam), static_cast<long>(lParam));
        return win::Handled::Yes;
    }
    if (message == anotherStartMessage() &&
        static_cast<std::uint32_t>(lParam) == settingsFileKey(file_.path())) {
        showAlreadyRunning();
        return win::Handled::Yes;
    }
    if (message == taskbarCreatedMessage()) {
        tray_.add(clock_.trayTip());
        return win::Handled::Yes;
    }
    return win::Handled::No;
}

bool ClockWindow::onCommand(int id, int code, HWND) {
    // Menu items (code 0) and accelerators (code 1); controls have no say here.
    return code <= 1 && menu_.dispatch(id);
}

void ClockWindow::onTimer(UINT_PTR id) {
    if (id == core::WakeTimer)
        clock_.onWake();
}

void ClockWindow::attachParts() {
    view_.attach(hwnd(), module(), clock_.settings());
    tray_.attach(hwnd(), module());
    sounds_.attach(hwnd(), module(), clock_.settings());
    countdown_.attach(hwnd(), module());
    ringing_.attach(hwnd());
    menu_.attach(module());
    mouse_.attach(hwnd());
    display_.start(hwnd());
}

bool ClockWindow::onInitDialog() {
    attachParts();
    appendAboutItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    tray_.add(clock_.trayTip());
    clock_.start();
    view_.modes().applyAtStart([this](int dpi) { return view_.sizeAt(dpi); });
    // The stored place may be on a monitor of another DPI than the one the window was made on;
    // the clock keeps that place at its new size.
    if (view_.takeDpi(win::windowDpi(hwnd())))
        clock_.redraw();
    sounds_.player().reopen(win::ansiToWide(clock_.settings().alarmSoundPath));
    return true;
}

void ClockWindow::appendAboutItem() {
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    wchar_t text[128] = {};
    if (!systemMenu || LoadStringW(module(), IDS_ABOUTBOX, text, ARRAYSIZE(text)) <= 0)
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

bool ClockWindow::onSysCommand(WPARAM command) {
    if ((command & SystemCommandMask) != IDM_ABOUTBOX)
        return false;
    showAbout();
    return true;
}

void ClockWindow::onDestroy() {
    view_.stopWaking();
    display_.stop();
    sounds_.shutDown();
    tray_.remove();
}

void ClockWindow::onEndSession(bool ending) {
    // Windows ends the process without destroying the window: save and take the icon now.
    if (!ending)
        return;
    clock_.save();
    tray_.remove();
}

LRESULT ClockWindow::onTrayNotify(UINT iconId, UINT mouseMessage) {
    if (iconId != ui::TrayIconId)
        return 1;
    switch (mouseMessage) {
    case WM_MOUSEMOVE: clock_.onTrayPointed(); break;
    case WM_LBUTTONDBLCLK: ui::openDateTimeSettings(); break;
    case WM_RBUTTONUP: showMenuAtPointer(); break;
    default: break;
    }
    return 0;
}

void ClockWindow::showMenuAtPointer() {
    // One of the clock's dialogs is open (it disables the clock): bring it forward instead of a
    // second menu, whose commands would open a second dialog over the first.
    if (!IsWindowEnabled(hwnd())) {
        SetForegroundWindow(GetLastActivePopup(hwnd()));
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    menu_.showAt(hwnd(), at);
}

void ClockWindow::onMenuOpened(HMENU popup) {
    clock_.onLookedAt();
    menu_.updatePopup(popup, clock_.settings());
}

void ClockWindow::onPowerBroadcast(WPARAM event, const void* data) {
    switch (event) {
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND: clock_.onResumed(); break;
    case PBT_APMSUSPEND: clock_.onSuspending(); break;
    case ui::PowerSettingChange:
        if (const std::optional<bool> on = ui::displayOnFromPowerSetting(data))
            clock_.setDisplayOn(*on);
        break;
    default: break;
    }
}

void ClockWindow::onSessionChange(WPARAM event) {
    if (event == ui::SessionLock || event == ui::SessionUnlock)
        clock_.setSessionLocked(event == ui::SessionLock);
}

void ClockWindow::onDpiChanged(int dpi) {
    RECT before{};
    GetWindowRect(hwnd(), &before);
    if (!view_.takeDpi(dpi))
        return;
    view_.placeAfterResize(before);
    clock_.redraw();
}

void ClockWindow::onDisplayChanged() {
    view_.modes().bringBackOnScreen();
    onDpiChanged(win::windowDpi(hwnd()));
}

void ClockWindow::showAlreadyRunning() {
    tray_.showBalloon(L"时钟已经在运行，它使用的设置文件是\n" + file_.path(),
                      clockwork::NoticeTitle);
}

void ClockWindow::chooseCustomLook() {
    render::SkinImages& skin = view_.skin();
    dialogs::CustomDialDialog dialog(module(), clock_.settings(), skin.previewBackground(module()),
                                     skin.previewBackground(module(), true));
    if (dialog.doModal(hwnd()) == IDOK)
        clock_.chooseStyle(core::CustomStyleIndex);
}

void ClockWindow::editAlarms() {
    clock_.onLookedAt();
    const core::AlarmTable before = clock_.settings().alarms;
    dialogs::AlarmShutdownDialog dialog(module(), clock_.settings(), sounds_.player(),
                                        clock_.calendar());
    if (dialog.doModal(hwnd()) != IDOK)
        return;
    clock_.save();
    clock_.onAlarmsEdited(before);
}

void ClockWindow::editOptions() {
    // The clock takes each new zoom at once, not only at the next wake.
    dialogs::OptionsDialog dialog(module(), clock_.settings(), [this] { clock_.redraw(); });
    if (dialog.doModal(hwnd()) != IDOK)
        return;
    dialog.copyFlagsTo(clock_.settings());
    clock_.save();
}

void ClockWindow::showAbout() {
    dialogs::AboutDialog(module()).doModal(hwnd());
}

void ClockWindow::exitClock() {
    view_.release();
    tray_.remove();
    clock_.save();
    endDialog(IDCANCEL);
}

} // namespace app
