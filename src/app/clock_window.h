#pragma once
// The clock's window: a borderless per-pixel-alpha window. It turns each message into a typed
// call on the clock and owns the parts through which the clock reaches Windows: the view, the
// tray icon, the sounds, the countdown, the ringing window, the computer's side of an alarm, the
// settings file, the menu and the mouse.
#include "app/clock_machine.h"
#include "app/clock_view.h"
#include "app/settings_file.h"
#include "app/shutdown_countdown.h"
#include "clock/clock.h"
#include "dialogs/ringing_dialog.h"
#include "sound/clock_sounds.h"
#include "ui/clock_menu.h"
#include "ui/clock_mouse.h"
#include "ui/display_watch.h"
#include "ui/tray_icon.h"
#include "win/dialog.h"

namespace app {

// The id of the shell's "TaskbarCreated" broadcast, registered once per process.
UINT taskbarCreatedMessage();

class ClockWindow : public win::Dialog,
                    private ui::ClockMenuCommands,
                    private dialogs::RingingAnswer {
public:
    explicit ClockWindow(HINSTANCE module);
    ~ClockWindow() override;

    // False when the system cannot show a per-pixel-alpha window: the clock does not start.
    bool canShow() const { return view_.canShow(); }

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onTimer(UINT_PTR id) override;
    // Enter, Escape and Alt+F4 arrive here and leave the clock running; only "退出" ends it.
    void onOK() override {}
    void onCancel() override {}

private:
    void attachParts();
    void appendAboutItem();
    bool onSysCommand(WPARAM command);
    void onDestroy();
    void onEndSession(bool ending);
    LRESULT onTrayNotify(UINT iconId, UINT mouseMessage);
    void showMenuAtPointer();
    void onMenuOpened(HMENU popup);
    void onPowerBroadcast(WPARAM event, const void* data);
    void onSessionChange(WPARAM event);
    // The monitor's scale changed, or the clock moved to a monitor of another DPI.
    void onDpiChanged(int dpi);
    void onDisplayChanged();
    // Another start found this clock's settings file taken.
    void showAlreadyRunning();

    // The clock menu's commands.
    void chooseStyle(int styleIndex) override { clock_.chooseStyle(styleIndex); }
    void chooseCustomLook() override;
    void chooseOpacity(int opacityIndex) override { clock_.chooseOpacity(opacityIndex); }
    void toggleAlwaysOnTop() override { clock_.toggleAlwaysOnTop(); }
    void toggleLockPosition() override { clock_.toggleLockPosition(); }
    void toggleClickThrough() override { clock_.toggleClickThrough(); }
    void editAlarms() override;
    void editOptions() override;
    void showAbout() override;
    void exitClock() override;

    // The ringing window's answers.
    void snooze(int minutes) override { clock_.snooze(minutes); }
    void dismiss() override { clock_.dismissRinging(); }

    class SystemTime : public clockwork::TimeSource {
    public:
        core::LocalTime now() override;
    };

    HICON icon_ = nullptr;
    SystemTime time_;
    SettingsFile file_;
    ClockView view_;
    ui::TrayIcon tray_;
    sound::ClockSounds sounds_;
    ShutdownCountdown countdown_;
    dialogs::RingingDialog ringing_;
    ClockMachine machine_;
    ui::ClockMenu menu_{*this};
    ui::ClockMouse mouse_;
    ui::DisplayWatch display_;
    clockwork::Clock clock_;
};

} // namespace app
