#include "app/clock_window.h"

#include "app/local_time.h"
#include "core/fade.h"
#include "core/geometry.h"
#include "core/menu_rules.h"
#include "sound/sounds.h"
#include "core/position.h"
#include "core/skin_table.h"
#include "win/message_box.h"
#include "win/strings.h"

#include "resource.h"

#include <windowsx.h>

namespace app {

namespace {

constexpr DWORD clickThroughStyles = WS_EX_LAYERED | WS_EX_TRANSPARENT;
constexpr UINT systemCommandMask = 0xFFF0;

struct MonitorSearch {
    RECT clock;
    bool onSecondaryMonitor;
};

BOOL CALLBACK findSecondaryMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* search = reinterpret_cast<MonitorSearch*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT overlap{};
    if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY) &&
        IntersectRect(&overlap, &search->clock, &info.rcMonitor)) {
        search->onSecondaryMonitor = true;
        return FALSE;
    }
    return TRUE;
}

// A place the primary screen's rule would move is kept when the clock stands on another monitor.
bool isOnSecondaryMonitor(int left, int top, int width, int height) {
    MonitorSearch search{{left, top, left + width, top + height}, false};
    EnumDisplayMonitors(nullptr, nullptr, findSecondaryMonitor, reinterpret_cast<LPARAM>(&search));
    return search.onSecondaryMonitor;
}

} // namespace

UINT taskbarCreatedMessage() {
    static const UINT id = RegisterWindowMessageW(L"TaskbarCreated");
    return id;
}

ClockWindow::ClockWindow(HINSTANCE module) : Dialog(module, IDD_CLOCK) {
    icon_ = LoadIconW(module, MAKEINTRESOURCEW(IDI_CLOCK));
}

ClockWindow::~ClockWindow() = default;

bool ClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG: result = onCreate() && onInitDialog(); return true;
    case WM_SYSCOMMAND: return onSysCommand(wParam);
    case WM_PAINT: return onPaint();
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(icon_); return true;
    case WM_LBUTTONDOWN: onLButtonDown(); return false;
    case WM_TIMER: onTick(static_cast<UINT_PTR>(wParam)); return false;
    case WM_DESTROY: onDestroy(); return false;
    case WM_CONTEXTMENU: onContextMenu(lParam); return true;
    case WM_COMMAND: return HIWORD(wParam) <= 1 && onCommand(LOWORD(wParam));
    case WM_MOUSEHOVER: onMouseHover(); return true;
    case WM_MOUSELEAVE: onMouseLeave(); return true;
    case ui::TrayCallbackMessage: result = onTrayNotify(wParam, lParam); return true;
    case WM_MOUSEMOVE: onMouseMove(); return false;
    case WM_INITMENUPOPUP: onInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return true;
    case WM_LBUTTONDBLCLK: onLButtonDblClk(); return false;
    default: break;
    }
    if (message == sound::playerModeMessage()) {
        soundPlayer_->onModeChanged(reinterpret_cast<HWND>(wParam), lParam);
        return true;
    }
    if (message == taskbarCreatedMessage()) {
        addTrayIcon();
        return true;
    }
    return false;
}

bool ClockWindow::onCommand(WORD id) {
    const int style = core::styleIndexForCommand(id);
    if (style >= 0 && style < core::CustomStyleIndex) {
        chooseStyle(style);
        return true;
    }
    const int opacity = core::opacityIndexForCommand(id);
    if (opacity >= 0) {
        chooseOpacity(opacity);
        return true;
    }
    switch (id) {
    case core::ID_STYLE_CUSTOM: chooseCustomLook(); return true;
    case core::ID_ALWAYS_ON_TOP: toggleAlwaysOnTop(); return true;
    case core::ID_LOCK_POSITION: toggleLockPosition(); return true;
    case core::ID_CLICK_THROUGH: toggleClickThrough(); return true;
    case core::ID_ALARM_SHUTDOWN: return true;
    case core::ID_OPTIONS: return true;
    case core::ID_ABOUT: return true;
    case core::ID_EXIT: exitClock(); return true;
    default: return false;
    }
}

// What the window does before it is first shown: library, defaults, settings, look.
bool ClockWindow::onCreate() {
    user32_.reset(LoadLibraryW(L"User32.DLL"));
    if (!user32_) {
        win::showMessage(nullptr, L"User32.dll ERROR!");
        ExitProcess(0);
    }
    updateLayeredWindowEntry_ = reinterpret_cast<render::UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32_.get(), "UpdateLayeredWindow")));

    blend_.BlendOp = AC_SRC_OVER;
    blend_.BlendFlags = 0;
    blend_.SourceConstantAlpha = 255;
    blend_.AlphaFormat = AC_SRC_ALPHA;

    settingsFile_ = std::make_unique<SettingsFile>(currentDirectory());
    settings_ = core::ClockSettings();
    shutdownPending_ = false;
    loadSettings();
    applySkinStyle(settings_.styleIndex);

    soundPlayer_ = std::make_unique<sound::AlarmSoundPlayer>(hwnd(), module());
    trayIcon_ = std::make_unique<ui::TrayIcon>(hwnd(), module());
    return true;
}

bool ClockWindow::onInitDialog() {
    appendAboutItem();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    addTrayIcon();
    setOpacityIndex(settings_.opacityIndex);
    renderClock(displayedOpacity_);
    startTimer(redrawTimer, RedrawPeriodMs);
    startTimer(clockCheckTimer, ClockCheckPeriodMs);

    // A tool window gets no taskbar button.
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    placeWindow();
    applyClickThroughAtStart();
    soundPlayer_->reopen(win::ansiToWide(settings_.alarmSoundPath));
    return true;
}

void ClockWindow::appendAboutItem() {
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    if (!systemMenu)
        return;
    wchar_t text[128] = {};
    if (LoadStringW(module(), IDS_ABOUTBOX, text,
                    static_cast<int>(sizeof(text) / sizeof(text[0]))) <= 0)
        return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void ClockWindow::placeWindow() {
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const core::WindowPosition saved{settings_.windowLeft, settings_.windowTop};
    const core::WindowPosition corrected = core::correctStartPosition(
        saved, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const bool wouldMove = corrected.left != saved.left || corrected.top != saved.top;
    if (wouldMove && !isOnSecondaryMonitor(saved.left, saved.top, width, height)) {
        settings_.windowLeft = corrected.left;
        settings_.windowTop = corrected.top;
    }
    // The frame already gave the window its size; only the place changes here.
    SetWindowPos(hwnd(), HWND_TOP, settings_.windowLeft, settings_.windowTop, 0, 0, SWP_NOSIZE);
}

void ClockWindow::applyClickThroughAtStart() {
    savedExStyle_ = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    const DWORD style =
        settings_.clickThrough ? (savedExStyle_ | clickThroughStyles) : savedExStyle_;
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, style);
}

bool ClockWindow::onSysCommand(WPARAM command) {
    if ((command & systemCommandMask) == IDM_ABOUTBOX)
        return true;
    return false;
}

bool ClockWindow::onPaint() {
    if (!IsIconic(hwnd()))
        return false;
    win::PaintScope paint(hwnd());
    SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.dc(), x, y, icon_);
    return true;
}

void ClockWindow::onDestroy() {
    for (UINT_PTR id = redrawTimer; id <= clockCheckTimer; ++id)
        stopTimer(id);
    if (soundPlayer_)
        soundPlayer_->shutDown();
    // The sound thread must not play on while the process ends.
    sound::stopBuiltInSounds();
}

void ClockWindow::startTimer(UINT_PTR id, UINT periodMs) {
    SetTimer(hwnd(), id, periodMs, nullptr);
    timerRunning_[id - redrawTimer] = true;
}

void ClockWindow::stopTimer(UINT_PTR id) {
    KillTimer(hwnd(), id);
    timerRunning_[id - redrawTimer] = false;
}

int ClockWindow::runningFadeOrRedrawTimers() const {
    return timerRunning_[0] + timerRunning_[1] + timerRunning_[2];
}

bool ClockWindow::loadSettings() {
    return settingsFile_->load(settings_);
}

bool ClockWindow::saveSettings() {
    return settingsFile_ && settingsFile_->save(settings_);
}

void ClockWindow::setOpacityIndex(int index) {
    displayedOpacity_ = core::opacityLevel(core::chosenOpacityIndex(index));
    saveSettings();
}

bool ClockWindow::renderClock(int opacityPercent) {
    blend_.SourceConstantAlpha = core::constantAlpha(opacityPercent);
    render::FrameRequest request;
    request.skin = &skin_;
    request.time = currentLocalTime();
    request.zoom = settings_.zoom;
    request.showSecondHand = settings_.showSecondHand != 0;
    const render::Frame frame = render::composeFrame(request);
    if (core::isChimeDue(request.time.minute, request.time.second, settings_.hourlyChime)) {
        sound::requestChime(module());
        ++chimeRequests_;
    }

    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    return render::presentFrame(updateLayeredWindowEntry_, hwnd(), frame, blend_);
}

void ClockWindow::applySkinStyle(int index) {
    const int look = core::resolvedStyleIndex(index, settings_.customFacePath.empty());
    settings_.styleIndex = look;
    bool faceLoaded = false;
    if (look == core::CustomStyleIndex) {
        const std::string* paths[render::SlotCount] = {
            &settings_.customFacePath, &settings_.customHourPath, &settings_.customMinutePath,
            &settings_.customSecondPath, &settings_.customCasePath};
        for (int slot = render::FaceSlot; slot < render::SlotCount; ++slot)
            skin_.loadFile(win::ansiToWide(*paths[slot]), static_cast<render::SkinSlot>(slot));
        faceLoaded = skin_.image(render::FaceSlot) != nullptr;
    }
    if (!faceLoaded) {
        // A custom face that will not load shows the first look; the user's paths stay stored.
        skin_.loadBuiltInLook(module(),
                              core::builtInSkin(look == core::CustomStyleIndex ? 0 : look));
    }
    skin_.recordSizes();
    restack();
    saveSettings();
}

void ClockWindow::restack() {
    SetWindowPos(hwnd(), settings_.alwaysOnTop ? HWND_TOPMOST : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace app
