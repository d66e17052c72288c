#include "app/clock_check.h"

#include "win/local_time.h"
#include "app/settings_store.h"
#include "core/clock_time.h"
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "sound/alarm_sound_player.h"
#include "ui/tray_icon.h"
#include "win/message_box.h"
#include "win/strings.h"

namespace app {

const wchar_t* const ShutdownRefusedMessage = L"计算机没有关机：系统拒绝了关机请求。";

namespace {

std::string textOf(long long localSeconds) {
    return core::timeOfDayText(static_cast<int>(localSeconds % core::SecondsPerDay));
}

long long dayOf(long long localSeconds) {
    return localSeconds / core::SecondsPerDay;
}

} // namespace

// In step with the wall clock, so each second is checked exactly twice.
void ClockCheck::start() {
    timer_.start(win::currentLocalTime().milliseconds);
}

void ClockCheck::stop() {
    timer_.stop();
}

void ClockCheck::onTick() {
    const core::LocalTime now = win::currentLocalTime();
    timer_.onTick(now.milliseconds);
    const long long nowAt = core::localSeconds(now);
    const long long previous = lastChecked_;
    lastChecked_ = nowAt;
    std::vector<core::FiredAlarm> fired;
    std::vector<std::wstring> missed;
    if (core::classifyGap(previous, nowAt) == core::TickGap::JumpedForward)
        settleJump(previous, nowAt, fired, missed);
    // A busy thread or a stalled modal loop must not lose an alarm; each skipped second keeps
    // its own time in the balloon.
    for (const long long at : core::momentsToCheck(previous, nowAt)) {
        checkShutdown(textOf(at));
        // The same text also when the countdown ran in between.
        collectDueAlarms(at, fired);
    }
    report(fired, missed, textOf(nowAt));
}

void ClockCheck::settleJump(long long previous, long long now, std::vector<core::FiredAlarm>& fired,
                            std::vector<std::wstring>& missed) {
    const core::ClockSettings& settings = store_.settings();
    for (const core::JumpedAlarm& jumped : core::alarmsInGap(settings.alarms, previous, now)) {
        const core::AlarmEntry entry = settings.alarms.entry(jumped.index);
        const std::wstring reminder = win::ansiToWide(entry.reminder);
        if (!jumped.late())
            missed.push_back(core::missedAlarmLine(entry.time, reminder));
        else if (rung_.firstRing(dayOf(jumped.at), entry.time, entry.reminder))
            fired.push_back({entry.time, reminder, jumped.lateSeconds});
    }
    // A shutdown long after its time would surprise whoever is now at the computer; a once-only
    // schedule stays armed, as it never ran.
    const core::ShutdownSchedule& shutdown = settings.shutdown;
    if (shutdown.shutdownEnabled && core::fellInGap(shutdown.shutdownTime, previous, now))
        missed.push_back(core::missedShutdownLine(shutdown.shutdownTime));
}

void ClockCheck::checkShutdown(const std::string& timeText) {
    if (timeText != handledShutdownTime_)
        handledShutdownTime_.clear();
    core::ClockSettings& settings = store_.settings();
    if (!core::isShutdownDue(settings.shutdown, timeText,
                             shutdownPending_ || timeText == handledShutdownTime_))
        return;
    // Set first: the countdown's modal loop runs this tick again.
    shutdownPending_ = true;
    handledShutdownTime_ = timeText;
    if (settings.shutdown.shutdownRepeat == 0) {
        // A one-time shutdown is disarmed before it shows, so a cancel does not bring it back.
        settings.shutdown.shutdownEnabled = 0;
        settings.shutdown.shutdownTime.clear();
        store_.save();
    }
    if (!settings.alwaysOnTop)
        raise(HWND_TOPMOST);
    runCountdown();
}

void ClockCheck::runCountdown() {
    dialogs::ShutdownCountdownDialog countdown(module_);
    const bool cancelled = countdown.doModal(window_) == IDCANCEL;
    if (!cancelled && countdown.shutdownAccepted())
        return; // the system is going down: no second countdown meanwhile
    // Cancelled, or refused by the system: the schedule stays usable, a daily one comes due
    // again tomorrow.
    shutdownPending_ = false;
    if (!store_.settings().alwaysOnTop)
        raise(HWND_BOTTOM);
    if (!cancelled)
        win::showMessage(window_, ShutdownRefusedMessage);
}

void ClockCheck::collectDueAlarms(long long at, std::vector<core::FiredAlarm>& fired) {
    const core::ClockSettings& settings = store_.settings();
    const std::string timeText = textOf(at);
    // The count is read afresh each round: a dialog open in a nested loop may change the table.
    for (int i = 0; i < settings.alarms.count(); ++i) {
        if (!core::isAlarmDue(settings.alarms, i, timeText))
            continue;
        const core::AlarmEntry entry = settings.alarms.entry(i);
        // Once a day, also when the clock is set back over it or ticks twice in its second.
        if (rung_.firstRing(dayOf(at), entry.time, entry.reminder))
            fired.push_back({timeText, win::ansiToWide(entry.reminder)});
    }
}

void ClockCheck::report(const std::vector<core::FiredAlarm>& fired,
                        const std::vector<std::wstring>& missed, const std::string& nowText) {
    if (!missed.empty())
        tray_.setMissedLines(missed);
    if (!fired.empty()) {
        sound::startAlarmSound(module_, player_, !store_.settings().alarmSoundPath.empty());
        tray_.showBalloon(core::withMissedLines(core::alarmBalloonText(fired, nowText), missed),
                          core::BalloonTitle);
    } else if (!missed.empty()) {
        tray_.showBalloon(core::missedBalloonText(missed), core::MissedTitle);
    }
}

void ClockCheck::raise(HWND insertAfter) {
    SetWindowPos(window_, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace app
