#pragma once
// The clock: a borderless per-pixel-alpha window. It routes its messages and owns the parts that
// do the work: the settings, the look, the presentation, the hover fade, the window modes, the
// menu, the tray icon, the mouse, the alarm sound and the half-second check.
#include "app/clock_check.h"
#include "app/settings_store.h"
#include "render/clock_canvas.h"
#include "render/skin_images.h"
#include "sound/alarm_sound_player.h"
#include "sound/hourly_chime.h"
#include "ui/clock_menu.h"
#include "ui/clock_mouse.h"
#include "ui/display_watch.h"
#include "ui/hover_fade.h"
#include "ui/tray_icon.h"
#include "ui/window_modes.h"
#include "win/dialog.h"

#include <memory>

namespace app {

// The id of the shell's "TaskbarCreated" broadcast, registered once per process.
UINT taskbarCreatedMessage();

class ClockWindow : public win::Dialog, private ui::ClockMenuCommands {
public:
    explicit ClockWindow(HINSTANCE module);
    ~ClockWindow() override;

    core::ClockSettings& settings() { return store_->settings(); }
    const render::SkinImages& skin() const { return skin_; }
    const render::ClockCanvas& canvas() const { return canvas_; }
    const ui::HoverFade& fade() const { return *fade_; }
    const ui::WindowModes& modes() const { return *modes_; }
    const ClockCheck& check() const { return *check_; }
    ui::TrayIcon& trayIcon() { return *tray_; }
    sound::AlarmSoundPlayer& soundPlayer() { return *soundPlayer_; }

    bool saveSettings();
    bool renderClock(int opacityPercent);
    void setOpacityIndex(int index);
    void applySkinStyle(int index);
    void onTick(UINT_PTR timerId);

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onTimer(UINT_PTR id) override { onTick(id); }
    // Enter, Escape and Alt+F4 arrive here and leave the clock running; only "退出" ends it.
    void onOK() override {}
    void onCancel() override {}

private:
    void createParts();
    void appendAboutItem();
    void onRedrawTick();
    bool onSysCommand(WPARAM command);
    void onDestroy();
    void onEndSession(bool ending);
    LRESULT onTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void showMenuAtPointer();
    void onMenuOpened(HMENU popup);
    LRESULT onPowerBroadcast(WPARAM event, LPARAM data);
    // After sleep or a clock change: the check settles what the jump passed over, and the hands
    // show the new time at once.
    void onTimeJumped();
    void onSessionChange(WPARAM event);
    void onVisibilityChanged();
    void reportSaveFailure(const std::wstring& path);
    // Another start found this clock's settings file taken.
    void showAlreadyRunning();

    // The clock menu's commands.
    void chooseStyle(int styleIndex) override;
    void chooseCustomLook() override;
    void chooseOpacity(int opacityIndex) override;
    void toggleAlwaysOnTop() override;
    void toggleLockPosition() override;
    void toggleClickThrough() override;
    void editAlarms() override;
    void editOptions() override;
    void showAbout() override;
    void exitClock() override;

    HICON icon_ = nullptr;
    std::unique_ptr<SettingsStore> store_;
    render::SkinImages skin_;
    render::ClockCanvas canvas_{skin_};
    std::unique_ptr<ui::TrayIcon> tray_;
    std::unique_ptr<ui::HoverFade> fade_;
    std::unique_ptr<ui::WindowModes> modes_;
    std::unique_ptr<ui::ClockMouse> mouse_;
    std::unique_ptr<ui::ClockMenu> menu_;
    std::unique_ptr<sound::AlarmSoundPlayer> soundPlayer_;
    std::unique_ptr<ClockCheck> check_;
    std::unique_ptr<ui::DisplayWatch> display_;
    sound::HourlyChime chime_;
};

} // namespace app
