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

ClockWindow::ClockWindow(HINSTANCE module) : Dialog(module, IDD_CLOCK), chime_(module) {
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
        mouse_->onLeftButtonDown(settings().lockPosition != 0);
        return win::Handled::AndDefault;
    case WM_DESTROY: onDestroy(); return win::Handled::AndDefault;
    case WM_ENDSESSION: onEndSession(wParam != FALSE); return win::Handled::Yes;
    case WM_CONTEXTMENU: menu_->showForContextMenu(hwnd(), lParam); return win::Handled::Yes;
    case WM_MOUSEHOVER: fade_->onHover(); return win::Handled::Yes;
    case WM_MOUSELEAVE: fade_->onLeave(settings().opacityIndex); return win::Handled::Yes;
    case ui::TrayCallbackMessage: result = onTrayNotify(wParam, lParam); return win::Handled::Yes;
    case WM_MOUSEMOVE: mouse_->onMouseMove(); return win::Handled::AndDefault;
    case WM_INITMENUPOPUP: onMenuOpened(reinterpret_cast<HMENU>(wParam)); return win::Handled::Yes;
    case WM_POWERBROADCAST: result = onPowerBroadcast(wParam, lParam); return win::Handled::Yes;
    case WM_TIMECHANGE: onTimeJumped(); return win::Handled::Yes;
    case ui::SessionChangeMessage: onSessionChange(wParam); return win::Handled::Yes;
    case WM_LBUTTONDBLCLK: mouse_->onDoubleClick(); return win::Handled::AndDefault;
    default: break;
    }
    if (message == sound::playerModeMessage() && soundPlayer_) {
        soundPlayer_->onModeChanged(reinterpret_cast<HWND>(wParam), lParam);
        return win::Handled::Yes;
    }
    if (message == anotherStartMessage() && store_ &&
        static_cast<std::uint32_t>(lParam) == settingsFileKey(store_->file().path())) {
        showAlreadyRunning();
        return win::Handled::Yes;
    }
    if (message == taskbarCreatedMessage() && tray_) {
        tray_->add();
        return win::Handled::Yes;
    }
    return win::Handled::No;
}

bool ClockWindow::onCommand(int id, int code, HWND) {
    // Menu items (code 0) and accelerators (code 1); controls have no say here.
    return code <= 1 && menu_->dispatch(id);
}

void ClockWindow::onTick(UINT_PTR timerId) {
    switch (timerId) {
    case core::RedrawTimer: onRedrawTick(); break;
    case core::FadeInTimer:
    case core::FadeOutTimer:
        if (const auto opacity = fade_->step(timerId, settings().opacityIndex))
            renderClock(*opacity);
        break;
    case core::ClockCheckTimer: check_->onTick(); break;
    default: break;
    }
}

// Before the clock is first shown: library, defaults, settings, look.
void ClockWindow::createParts() {
    if (!canvas_.load()) {
        win::showMessage(nullptr, L"User32.dll ERROR!");
        ExitProcess(0);
    }
    store_ = std::make_unique<SettingsStore>(currentDirectory());
    tray_ = std::make_unique<ui::TrayIcon>(hwnd(), module());
    store_->setFailureReport([this](const std::wstring& path) { reportSaveFailure(path); });
    fade_ = std::make_unique<ui::HoverFade>(hwnd());
    modes_ = std::make_unique<ui::WindowModes>(hwnd(), settings());
    mouse_ = std::make_unique<ui::ClockMouse>(hwnd());
    ui::ClockMenuCommands& commands = *this;
    menu_ = std::make_unique<ui::ClockMenu>(module(), settings(), commands);
    soundPlayer_ = std::make_unique<sound::AlarmSoundPlayer>(hwnd(), module());
    check_ = std::make_unique<ClockCheck>(hwnd(), module(), *store_, *soundPlayer_, *tray_);
    display_ = std::make_unique<ui::DisplayWatch>(hwnd());
    store_->load();
    applySkinStyle(settings().styleIndex);
}

bool ClockWindow::onInitDialog() {
    createParts();
    appendAboutItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    tray_->add();
    setOpacityIndex(settings().opacityIndex);
    renderClock(fade_->displayedOpacity());
    fade_->startRedrawing();
    check_->start();
    modes_->applyAtStart();
    soundPlayer_->reopen(win::ansiToWide(settings().alarmSoundPath));
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
    if (!store_)
        return;
    fade_->stopAll();
    check_->stop();
    soundPlayer_->shutDown();
    // The sound thread must not play on while the process ends.
    sound::stopBuiltInSounds();
    tray_->remove();
}

void ClockWindow::onEndSession(bool ending) {
    // Windows ends the process without destroying the window: save and take the icon now.
    if (!ending)
        return;
    saveSettings();
    tray_->remove();
}

LRESULT ClockWindow::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    const ui::TrayRequest request = tray_->onNotify(iconId, mouseMessage);
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
    menu_->showAt(hwnd(), at);
}

void ClockWindow::onMenuOpened(HMENU popup) {
    // The user looks at the clock: what a jump left undone has been seen.
    tray_->clearMissedLines();
    menu_->updatePopup(popup);
}

LRESULT ClockWindow::onPowerBroadcast(WPARAM event, LPARAM data) {
    switch (event) {
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND: onTimeJumped(); break;
    case ui::PowerSettingChange:
        if (display_->onPowerSetting(data))
            onVisibilityChanged();
        break;
    default: break;
    }
    return TRUE;
}

void ClockWindow::onTimeJumped() {
    check_->onTick();
    renderClock(fade_->displayedOpacity());
}

void ClockWindow::onSessionChange(WPARAM event) {
    if (display_->onSessionChange(event))
        onVisibilityChanged();
}

void ClockWindow::onVisibilityChanged() {
    // Seen again: the current time at once, not the frame from before.
    if (display_->canBeSeen())
        renderClock(fade_->displayedOpacity());
}

void ClockWindow::reportSaveFailure(const std::wstring& path) {
    tray_->showBalloon(L"设置无法保存到\n" + path + L"\n时钟照常运行，设置保留在内存中。",
                       NoticeTitle);
}

void ClockWindow::showAlreadyRunning() {
    tray_->showBalloon(L"时钟已经在运行，它使用的设置文件是\n" + store_->file().path(),
                       NoticeTitle);
}

bool ClockWindow::saveSettings() {
    return store_ && store_->save();
}

void ClockWindow::setOpacityIndex(int index) {
    fade_->setLevel(index);
    saveSettings();
}

bool ClockWindow::renderClock(int opacityPercent) {
    const core::LocalTime now = win::currentLocalTime();
    chime_.onFrame(now, settings());
    // No frames while nobody can see them: the display is off or the session locked.
    if (display_ && !display_->canBeSeen())
        return true;
    return canvas_.show(hwnd(), now, settings().zoom, settings().showSecondHand != 0,
                        opacityPercent);
}

void ClockWindow::applySkinStyle(int index) {
    settings().styleIndex = skin_.applyStyle(module(), index, settings());
    modes_->restack();
    saveSettings();
}

void ClockWindow::onRedrawTick() {
    fade_->onRedrawTick();
    renderClock(fade_->displayedOpacity());
    soundPlayer_->applyTimeLimit(settings().alarmSoundSeconds);
}

void ClockWindow::chooseStyle(int styleIndex) {
    settings().styleIndex = styleIndex;
    applySkinStyle(styleIndex);
    renderClock(fade_->displayedOpacity());
}

void ClockWindow::chooseCustomLook() {
    dialogs::CustomDialDialog dialog(module(), settings(), skin_.previewBackground(module()));
    if (dialog.doModal(hwnd()) == IDOK)
        chooseStyle(core::CustomStyleIndex);
}

void ClockWindow::chooseOpacity(int opacityIndex) {
    settings().opacityIndex = opacityIndex;
    setOpacityIndex(opacityIndex);
    renderClock(fade_->displayedOpacity());
}

void ClockWindow::toggleAlwaysOnTop() {
    modes_->toggleAlwaysOnTop();
    saveSettings();
}

void ClockWindow::toggleLockPosition() {
    modes_->toggleLockPosition();
    saveSettings();
}

void ClockWindow::toggleClickThrough() {
    modes_->toggleClickThrough();
    saveSettings();
}

void ClockWindow::editAlarms() {
    tray_->clearMissedLines();
    dialogs::AlarmShutdownDialog dialog(module(), settings(), *soundPlayer_);
    if (dialog.doModal(hwnd()) == IDOK)
        saveSettings();
}

void ClockWindow::editOptions() {
    // The clock takes each new zoom at once, not only at the next tick.
    dialogs::OptionsDialog dialog(module(), settings(),
                                  [this] { renderClock(fade_->displayedOpacity()); });
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
    tray_->remove();
    saveSettings();
    endDialog(IDCANCEL);
}

} // namespace app
