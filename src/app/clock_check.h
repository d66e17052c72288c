#pragma once
// The half-second check of the clock: the automatic shutdown, then every alarm. A tick that
// comes late still looks at the seconds it skipped, so no alarm is lost.
#include <windows.h>

#include "core/clock_time.h"
#include "core/clock_timers.h"
#include "core/time_jump.h"
#include "ui/half_second_timer.h"

#include <string>
#include <vector>

namespace sound {
class AlarmSoundPlayer;
}
namespace ui {
class TrayIcon;
}

namespace app {

class SettingsStore;

// Shown when the countdown ran out but the system refused to shut down.
extern const wchar_t* const ShutdownRefusedMessage;

class ClockCheck {
public:
    ClockCheck(HWND window, HINSTANCE module, SettingsStore& store, sound::AlarmSoundPlayer& player,
               ui::TrayIcon& tray)
        : window_(window), module_(module), store_(store), player_(player), tray_(tray),
          timer_(window, core::ClockCheckTimer) {}

    void start();
    void stop();
    void onTick();
    // Set while the countdown shows, and after a shutdown was requested.
    bool shutdownPending() const { return shutdownPending_; }

private:
    // The alarms and the shutdown whose time a jump (sleep, a clock set forward) passed over.
    void settleJump(long long previous, long long now, std::vector<core::FiredAlarm>& fired,
                    std::vector<std::wstring>& missed);
    void checkShutdown(const std::string& timeText);
    void runCountdown();
    void collectDueAlarms(long long at, std::vector<core::FiredAlarm>& fired);
    void report(const std::vector<core::FiredAlarm>& fired, const std::vector<std::wstring>& missed,
                const std::string& nowText);
    void raise(HWND insertAfter);

    HWND window_;
    HINSTANCE module_;
    SettingsStore& store_;
    sound::AlarmSoundPlayer& player_;
    ui::TrayIcon& tray_;
    ui::HalfSecondTimer timer_;
    bool shutdownPending_ = false;
    // The second whose schedule was last handled: a countdown closed within its own second does
    // not open again in that second.
    std::string handledShutdownTime_;
    // Local seconds of the last check (core::localSeconds); -1 before the first.
    long long lastChecked_ = -1;
    core::RungAlarms rung_;
};

} // namespace app
