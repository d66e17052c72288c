#pragma once
// The half-second check of the clock: the automatic shutdown, then every alarm. A tick that
// comes late still looks at the seconds it skipped, so no alarm is lost.
#include <windows.h>

#include "core/clock_timers.h"
#include "ui/half_second_timer.h"

#include <string>

namespace sound {
class AlarmSoundPlayer;
}
namespace ui {
class TrayIcon;
}

namespace app {

class SettingsStore;

class ClockCheck {
public:
    ClockCheck(HWND window, HINSTANCE module, SettingsStore& store, sound::AlarmSoundPlayer& player,
               ui::TrayIcon& tray)
        : window_(window), module_(module), store_(store), player_(player), tray_(tray),
          timer_(window, core::clockCheckTimer) {}

    void start();
    void stop();
    void onTick();
    // Set while the countdown shows, and after a shutdown was requested.
    bool shutdownPending() const { return shutdownPending_; }

private:
    void checkSecond(int secondOfDay);
    void checkShutdown(const std::string& timeText);
    void checkAlarms(const std::string& timeText);
    void raise(HWND insertAfter);

    HWND window_;
    HINSTANCE module_;
    SettingsStore& store_;
    sound::AlarmSoundPlayer& player_;
    ui::TrayIcon& tray_;
    ui::HalfSecondTimer timer_;
    bool shutdownPending_ = false;
    int lastCheckedSecond_ = -1;
};

} // namespace app
