#include "app/clock_window.h"

#include "win/local_time.h"
#include "app/settings_file_lock.h"
#include "core/clock_time.h"
#include "core/clock_timers.h"
#include "core/geometry.h"
#include "dialogs/about_dialog.h"
#include "dialogs/alarm_shutdown_dialog.h"
#include "dialogs/custom_dial_dialog.h"
#include "dialogs/options_dialog.h"
#include "sound/sounds.h"
#include "win/dpi.h"
#include "win/message_box.h"
#include "win/strings.h"

#include "resource.h"

namespace app {

namespace {

constexpr UINT SystemCommandMask = 0xFFF0;
const wchar_t* const NoticeTitle = L"Veltrano";

} // namespace

UINT taskbarCreatedMessage() {
    static const UINT id = RegisterWindowMessageW(L"TaskbarCreated");
    return id;
}

ClockWindow::ClockWindow(HINSTANCE module)
    : Dialog(module, IDD_CLOCK), presentationLoaded_(canvas_.load()), chime_(module) {
    icon_ = LoadIconW(module, MAKEINTRESOURCEW(IDI_CLOCK));
}

ClockWindow::~ClockWindow() = default;

win::Handled ClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    switch (message) {
    case WM_SYSCOMMAND: return win::handledIf(onSysCommand(wParam));
    case WM_PAINT: return win::handledIf(win::paintMinimisedIcon(hwnd(), icon_));
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(icon_); return win::Handled::Yes;
    case WM_LBUTTONDOWN:
        parts_->mouse.onLeftButtonDown(settings().lockPosition != 0);
        return win::Handled::AndDefault;
    case WM_DESTROY: onDestroy(); return win::Handled::AndDefault;
    case WM_ENDSESSION: onEndSession(wParam != FALSE); return win::Handled::Yes;
    case WM_CONTEXTMENU: parts_->menu.showForContextMenu(hwnd(), lParam); return win::Handled::Yes;
    case WM_MOUSEHOVER: parts_->fade.onHover(); return win::Handled::Yes;
    case WM_MOUSELEAVE: parts_->fade.onLeave(settings().opacityIndex); return win::Handled::Yes;
    case ui::TrayCallbackMessage: result = onTrayNotify(wParam, lParam); return win::Handled::Yes;
    case WM_MOUSEMOVE: parts_->mouse.onMouseMove(); return win::Handled::AndDefault;
    case WM_INITMENUPOPUP: onMenuOpened(reinterpret_cast<HMENU>(wParam)); return win::Handled::Yes;
    case WM_POWERBROADCAST: result = onPowerBroadcast(wParam, lParam); return win::Handled::Yes;
    case WM_TIMECHANGE: onTimeJumped(); return win::Handled::Yes;
    case win::DpiChangedMessage: onDpiChanged(LOWORD(wParam)); return win::Handled::Yes;
    case WM_DISPLAYCHANGE: onDisplayChanged(); return win::Handled::AndDefault;
    case ui::SessionChangeMessage: onSessionChange(wParam); return win::Handled::Yes;
    case WM_LBUTTONDBLCLK: parts_->mouse.onDoubleClick(); return win::Handled::AndDefault;
    default: break;
    }
    if (message == sound::playerModeMessage()) {
        parts_->soundPlayer.onModeChanged(reinterpret_cast<HWND>(wParam), lParam);
        return win::Handled::Yes;
    }
    if (message == anotherStartMessage() &&
        static_cast<std::uint32_t>(lParam) == settingsFileKey(parts_->store.file().path())) {
        showAlreadyRunning();
        return win::Handled::Yes;
    }
    if (message == taskbarCreatedMessage()) {
        parts_->tray.add();
        return win::Handled::Yes;
    }
    return win::Handled::No;
}

bool ClockWindow::onCommand(int id, int code, HWND) {
    // Menu items (code 0) and accelerators (code 1); controls have no say here.
    return code <= 1 && parts_->menu.dispatch(id);
}

void ClockWindow::onTick(UINT_PTR timerId) {
    switch (timerId) {
    case core::RedrawTimer: onRedrawTick(); break;
    case core::FadeInTimer:
    case core::FadeOutTimer:
        if (const auto opacity = parts_->fade.step(timerId, settings().opacityIndex))
            renderClock(*opacity);
        break;
    case core::ClockCheckTimer: parts_->check.onTick(); break;
    default: break;
    }
}

// Before the clock is first shown: the parts, the stored settings, the look.
void ClockWindow::createParts() {
    ui::ClockMenuCommands& commands = *this;
    parts_ = std::make_unique<ClockParts>(
        hwnd(), module(), commands, [this](const std::wstring& path) { reportSaveFailure(path); });
    parts_->store.load();
    applySkinStyle(settings().styleIndex);
}

bool ClockWindow::onInitDialog() {
    createParts();
    appendAboutItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    parts_->tray.add();
    setOpacityIndex(settings().opacityIndex);
    canvas_.setDpi(win::windowDpi(hwnd()));
    renderClock(parts_->fade.displayedOpacity());
    parts_->fade.startRedrawing();
    parts_->check.start();
    parts_->modes.applyAtStart();
    // The stored place may be on a monitor of another DPI than the one the window was made on;
    // the clock keeps that place at its new size.
    takeDpi(win::windowDpi(hwnd()));
    parts_->soundPlayer.reopen(win::ansiToWide(settings().alarmSoundPath));
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
    parts_->fade.stopAll();
    parts_->check.stop();
    parts_->soundPlayer.shutDown();
    // The sound thread must not play on while the process ends.
    sound::stopBuiltInSounds();
    parts_->tray.remove();
}

void ClockWindow::onEndSession(bool ending) {
    // Windows ends the process without destroying the window: save and take the icon now.
    if (!ending)
        return;
    saveSettings();
    parts_->tray.remove();
}

LRESULT ClockWindow::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    const ui::TrayRequest request = parts_->tray.onNotify(iconId, mouseMessage);
    if (request == ui::TrayRequest::ShowMenu)
        showMenuAtPointer();
    return request == ui::TrayRequest::NotOurIcon ? 1 : 0;
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
    parts_->menu.showAt(hwnd(), at);
}

void ClockWindow::onMenuOpened(HMENU popup) {
    // The user looks at the clock: what a jump left undone has been seen.
    parts_->tray.clearMissedLines();
    parts_->menu.updatePopup(popup);
}

LRESULT ClockWindow::onPowerBroadcast(WPARAM event, LPARAM data) {
    switch (event) {
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND: onTimeJumped(); break;
    case ui::PowerSettingChange:
        if (parts_->display.onPowerSetting(data))
            onVisibilityChanged();
        break;
    default: break;
    }
    return TRUE;
}

void ClockWindow::onTimeJumped() {
    parts_->check.onTick();
    renderClock(parts_->fade.displayedOpacity());
}

void ClockWindow::onDpiChanged(int dpi) {
    RECT before{};
    GetWindowRect(hwnd(), &before);
    if (takeDpi(dpi))
        parts_->modes.placeAfterResize(before);
}

bool ClockWindow::takeDpi(int dpi) {
    if (dpi <= 0 || dpi == canvas_.dpi())
        return false;
    canvas_.setDpi(dpi);
    renderClock(parts_->fade.displayedOpacity());
    return true;
}

void ClockWindow::onDisplayChanged() {
    parts_->modes.bringBackOnScreen();
    onDpiChanged(win::windowDpi(hwnd()));
}

void ClockWindow::onSessionChange(WPARAM event) {
    if (parts_->display.onSessionChange(event))
        onVisibilityChanged();
}

void ClockWindow::onVisibilityChanged() {
    // Seen again: the current time at once, not the frame from before.
    if (parts_->display.canBeSeen())
        renderClock(parts_->fade.displayedOpacity());
}

void ClockWindow::reportSaveFailure(const std::wstring& path) {
    parts_->tray.showBalloon(L"设置无法保存到\n" + path + L"\n时钟照常运行，设置保留在内存中。",
                             NoticeTitle);
}

void ClockWindow::showAlreadyRunning() {
    parts_->tray.showBalloon(L"时钟已经在运行，它使用的设置文件是\n" + parts_->store.file().path(),
                             NoticeTitle);
}

bool ClockWindow::saveSettings() {
    return parts_->store.save();
}

void ClockWindow::setOpacityIndex(int index) {
    parts_->fade.setLevel(index);
    saveSettings();
}

bool ClockWindow::renderClock(int opacityPercent) {
    const core::LocalTime now = win::currentLocalTime();
    chime_.onFrame(now, settings());
    // No frames while nobody can see them: the display is off or the session locked.
    if (!parts_->display.canBeSeen())
        return true;
    return canvas_.show(hwnd(), now, settings().zoom, settings().showSecondHand != 0,
                        opacityPercent);
}

void ClockWindow::applySkinStyle(int index) {
    settings().styleIndex = skin_.applyStyle(module(), index, settings());
    parts_->modes.restack();
    saveSettings();
}

void ClockWindow::onRedrawTick() {
    parts_->fade.onRedrawTick();
    renderClock(parts_->fade.displayedOpacity());
    parts_->soundPlayer.applyTimeLimit(settings().alarmSoundSeconds);
}

void ClockWindow::chooseStyle(int styleIndex) {
    settings().styleIndex = styleIndex;
    applySkinStyle(styleIndex);
    renderClock(parts_->fade.displayedOpacity());
}

void ClockWindow::chooseCustomLook() {
    dialogs::CustomDialDialog dialog(module(), settings(), skin_.previewBackground(module()),
                                     skin_.previewBackground(module(), true));
    if (dialog.doModal(hwnd()) == IDOK)
        chooseStyle(core::CustomStyleIndex);
}

void ClockWindow::chooseOpacity(int opacityIndex) {
    settings().opacityIndex = opacityIndex;
    setOpacityIndex(opacityIndex);
    renderClock(parts_->fade.displayedOpacity());
}

void ClockWindow::toggleAlwaysOnTop() {
    parts_->modes.toggleAlwaysOnTop();
    saveSettings();
}

void ClockWindow::toggleLockPosition() {
    parts_->modes.toggleLockPosition();
    saveSettings();
}

void ClockWindow::toggleClickThrough() {
    parts_->modes.toggleClickThrough();
    saveSettings();
}

void ClockWindow::editAlarms() {
    parts_->tray.clearMissedLines();
    dialogs::AlarmShutdownDialog dialog(module(), settings(), parts_->soundPlayer);
    if (dialog.doModal(hwnd()) == IDOK)
        saveSettings();
}

void ClockWindow::editOptions() {
    // The clock takes each new zoom at once, not only at the next tick.
    dialogs::OptionsDialog dialog(module(), settings(),
                                  [this] { renderClock(parts_->fade.displayedOpacity()); });
    if (dialog.doModal(hwnd()) != IDOK)
        return;
    dialog.copyFlagsTo(settings());
    saveSettings();
}

void ClockWindow::showAbout() {
    dialogs::AboutDialog(module()).doModal(hwnd());
}

void ClockWindow::exitClock() {
    skin_.releaseAll();
    canvas_.release();
    parts_->tray.remove();
    saveSettings();
    endDialog(IDCANCEL);
}

} // namespace app
