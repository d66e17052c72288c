#pragma once
// The clock: a borderless per-pixel-alpha window. It routes its messages and owns the parts that
// do the work: the settings, the look, the presentation, the hover fade, the window modes, the
// menu, the tray icon, the mouse, the alarm sound and the half-second check.
#include "app/clock_parts.h"
#include "render/clock_canvas.h"
#include "render/skin_images.h"
#include "sound/hourly_chime.h"
#include "win/dialog.h"

#include <memory>

namespace app {

// The id of the shell's "TaskbarCreated" broadcast, registered once per process.
UINT taskbarCreatedMessage();

class ClockWindow : public win::Dialog, private ui::ClockMenuCommands {
public:
    explicit ClockWindow(HINSTANCE module);
    ~ClockWindow() override;

    // False when the system cannot show a per-pixel-alpha window: the clock does not start.
    bool canShow() const { return presentationLoaded_; }

    core::ClockSettings& settings() { return parts_->store.settings(); }
    const render::SkinImages& skin() const { return skin_; }
    const render::ClockCanvas& canvas() const { return canvas_; }
    const ui::HoverFade& fade() const { return parts_->fade; }
    const ui::WindowModes& modes() const { return parts_->modes; }
    const ClockCheck& check() const { return parts_->check; }
    ui::TrayIcon& trayIcon() { return parts_->tray; }
    sound::AlarmSoundPlayer& soundPlayer() { return parts_->soundPlayer; }

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
    // The monitor's scale changed, or the clock moved to a monitor of another DPI.
    void onDpiChanged(int dpi);
    void onDisplayChanged();
    // True when the clock was drawn anew at a DPI other than its last.
    bool takeDpi(int dpi);
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
    render::SkinImages skin_;
    render::ClockCanvas canvas_{skin_};
    bool presentationLoaded_;
    // Made in WM_INITDIALOG, the first message the dialog layer hands to the window.
    std::unique_ptr<ClockParts> parts_;
    sound::HourlyChime chime_;
};

} // namespace app
