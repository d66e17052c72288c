#pragma once
// The clock: a borderless per-pixel-alpha window that owns the settings, the look, the alarms,
// the sound player and the tray icon.
#include "app/settings_file.h"
#include "core/fade.h"
#include "core/settings.h"
#include "render/frame.h"
#include "render/skin_images.h"
#include "sound/alarm_sound_player.h"
#include "ui/tray_icon.h"
#include "win/dialog.h"
#include "win/handles.h"

#include <memory>

namespace app {

// Timers of the clock window.
enum ClockTimer : UINT_PTR {
    redrawTimer = 1001,
    fadeInTimer = 1002,
    fadeOutTimer = 1003,
    clockCheckTimer = 1004,
};
constexpr UINT RedrawPeriodMs = 500;
constexpr UINT FadePeriodMs = 30;
constexpr UINT ClockCheckPeriodMs = 500;

// The id of the shell's "TaskbarCreated" broadcast, registered once per process.
UINT taskbarCreatedMessage();

class ClockWindow : public win::Dialog {
public:
    explicit ClockWindow(HINSTANCE module);
    ~ClockWindow() override;

    core::ClockSettings& settings() { return settings_; }
    const core::ClockSettings& settings() const { return settings_; }
    SettingsFile& settingsFile() { return *settingsFile_; }
    sound::AlarmSoundPlayer& soundPlayer() { return *soundPlayer_; }
    const render::SkinImages& skin() const { return skin_; }
    ui::TrayIcon& trayIcon() { return *trayIcon_; }

    int displayedOpacity() const { return displayedOpacity_; }
    bool shutdownPending() const { return shutdownPending_; }
    const BLENDFUNCTION& blend() const { return blend_; }
    DWORD savedExStyle() const { return savedExStyle_; }
    int runningFadeOrRedrawTimers() const;
    bool isTimerRunning(UINT_PTR id) const { return timerRunning_[id - redrawTimer]; }
    int chimeRequests() const { return chimeRequests_; }

    bool saveSettings();
    bool renderClock(int opacityPercent);
    void setOpacityIndex(int index);
    void applySkinStyle(int index);
    void onTick(UINT_PTR timerId);

protected:
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter, Escape and Alt+F4 arrive here and leave the clock running; only "退出" ends it.
    void onOK() override {}
    void onCancel() override {}

private:
    // Window life
    bool onCreate();
    bool onInitDialog();
    bool onSysCommand(WPARAM command);
    bool onPaint();
    void onDestroy();
    void appendAboutItem();
    void placeWindow();
    void applyClickThroughAtStart();
    void startTimer(UINT_PTR id, UINT periodMs);
    void stopTimer(UINT_PTR id);

    // Tick
    void onRedrawTick();
    void onClockCheckTick();
    void checkSecond(int secondOfDay);
    void checkShutdown(const std::string& timeText);
    void checkAlarms(const std::string& timeText);
    void startAlarmSound();

    // Commands and menus
    bool onCommand(WORD id);
    void onContextMenu(LPARAM screenPoint);
    void onInitMenuPopup(HMENU popup);
    void updateMenuItem(HMENU popup, int position, int id);
    void trackClockMenu(POINT at);
    void chooseStyle(int styleIndex);
    void chooseOpacity(int opacityIndex);
    void toggleAlwaysOnTop();
    void toggleLockPosition();
    void toggleClickThrough();
    void chooseCustomLook();
    void exitClock();
    void restack();

    // Settings file
    bool loadSettings();

    // Tray
    void addTrayIcon();
    void showTrayBalloon(const std::wstring& text, const std::wstring& title);
    void removeTrayIcon();
    LRESULT onTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void showTrayMenu();

    // Mouse
    void onLButtonDown();
    void onLButtonDblClk();
    void onMouseMove();
    void onMouseHover();
    void onMouseLeave();
    void fadeInStep();
    void fadeOutStep();
    void applyFadeStep(const core::FadeStepResult& step, UINT_PTR fadeTimer);

    core::ClockSettings settings_;
    std::unique_ptr<SettingsFile> settingsFile_;
    std::unique_ptr<sound::AlarmSoundPlayer> soundPlayer_;
    std::unique_ptr<ui::TrayIcon> trayIcon_;
    render::SkinImages skin_;
    DWORD savedExStyle_ = 0;
    bool shutdownPending_ = false;
    int displayedOpacity_ = 100;
    int lastCheckedSecond_ = -1;
    int chimeRequests_ = 0;
    BLENDFUNCTION blend_{};
    win::UniqueModule user32_;
    render::UpdateLayeredWindowFn updateLayeredWindowEntry_ = nullptr;
    HICON icon_ = nullptr;
    bool timerRunning_[4] = {};
};

} // namespace app
