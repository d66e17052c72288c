#pragma once
// The clock's check of each second: the automatic shutdown, then every alarm. A wake that comes
// late still looks at the seconds it skipped, so no alarm is lost; a jump (sleep, a clock set
// forward) rings what is at most a little late and lists the rest. Time that passed is measured
// in UTC, so a daylight-saving change is no jump: what its skipped hour held rings at once, and
// its repeated hour rings nothing twice.
#include "clock/ports.h"
#include "clock/settings_keeper.h"
#include "clock/snoozes.h"
#include "clock/tray_tip.h"
#include "core/clock_time.h"
#include "core/time_jump.h"
#include "core/work_calendar.h"

#include <string>
#include <vector>

namespace clockwork {

class ClockCheck {
public:
    ClockCheck(SettingsKeeper& keeper, TrayTip& tip, Snoozes& snoozes,
               const core::WorkCalendar& calendar, const Ports& ports)
        : keeper_(keeper), tip_(tip), snoozes_(snoozes), calendar_(calendar), ports_(ports) {}

    // The alarms that rang (their sound and balloon are out).
    std::vector<Ring> onTime(const core::LocalTime& now);
    // The computer woke from sleep: a countdown still showing is over.
    void onResumed();
    // Set while the countdown shows, and after a shutdown was requested.
    bool shutdownPending() const { return shutdownPending_; }
    // Whether an alarm rings at this local second (its time, and its rule on that date).
    bool ringsAt(long long local) const;

private:
    struct Found {
        std::vector<Ring> fired;
        std::vector<MissedLine> missed;
    };
    void settleJump(long long previous, long long now, Found& found);
    void ringSkipped(long long previous, long long now, const std::string& nowText, Found& found);
    void checkShutdown(long long at, Found& found);
    void runCountdown(long long at, Found& found);
    void collectDueAlarms(long long at, Found& found);
    void collectSnoozes(long long now, bool jumped, Found& found);
    // Whether the alarm's rule rings on the date of `at`.
    bool ringsOn(int index, long long at) const;
    // A once-alarm whose time came turns itself off.
    void switchOffOnce(int index);
    void report(const Found& found, const core::LocalTime& now);
    void disarmOnce();
    std::wstring wide(const std::string& bytes) const;

    SettingsKeeper& keeper_;
    TrayTip& tip_;
    Snoozes& snoozes_;
    const core::WorkCalendar& calendar_;
    const Ports& ports_;
    bool shutdownPending_ = false;
    // Local and UTC seconds of the last check; -1 before the first.
    long long lastLocal_ = -1, lastUtc_ = -1;
    // Once per date: each alarm, and the shutdown (whose reminder is left empty).
    core::RungAlarms rung_, shutdownsDone_;
};

extern const wchar_t* const ShutdownRefusedMessage;

} // namespace clockwork
