#include "app/clock_check.h"

#include "app/local_time.h"
#include "app/settings_store.h"
#include "core/clock_time.h"
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "sound/alarm_sound_player.h"
#include "ui/tray_icon.h"
#include "win/strings.h"

namespace app {

// In step with the wall clock, so each second is checked exactly twice.
void ClockCheck::start() {
    timer_.start(currentLocalTime().milliseconds);
}

void ClockCheck::stop() {
    timer_.stop();
}

void ClockCheck::onTick() {
    const core::LocalTime now = currentLocalTime();
    timer_.onTick(now.milliseconds);
    const int nowSecond = core::secondOfDay(now);
    // A busy thread or a stalled modal loop must not lose an alarm; each skipped second keeps
    // its own time in the balloon.
    const std::vector<int> seconds = core::secondsToCheck(lastCheckedSecond_, nowSecond);
    lastCheckedSecond_ = nowSecond;
    for (const int second : seconds)
        checkSecond(second);
}

void ClockCheck::checkSecond(int secondOfDay) {
    const std::string timeText = core::timeOfDayText(secondOfDay);
    checkShutdown(timeText);
    // The same text also when the countdown ran in between.
    checkAlarms(timeText);
}

void ClockCheck::checkShutdown(const std::string& timeText) {
    core::ClockSettings& settings = store_.settings();
    if (!core::isShutdownDue(settings.shutdown, timeText, shutdownPending_))
        return;
    // Set first: the countdown's modal loop runs this tick again.
    shutdownPending_ = true;
    if (settings.shutdown.shutdownRepeat == 0) {
        // A one-time shutdown is disarmed before it shows, so a cancel does not bring it back.
        settings.shutdown.shutdownEnabled = 0;
        settings.shutdown.shutdownTime.clear();
        store_.save();
    }
    if (!settings.alwaysOnTop)
        raise(HWND_TOPMOST);
    dialogs::ShutdownCountdownDialog countdown(module_);
    if (countdown.doModal(window_) == IDCANCEL) {
        shutdownPending_ = false;
        if (!store_.settings().alwaysOnTop)
            raise(HWND_BOTTOM);
    }
}

void ClockCheck::checkAlarms(const std::string& timeText) {
    const core::ClockSettings& settings = store_.settings();
    // The count is read afresh each round: a dialog open in a nested loop may change the table.
    for (int i = 0; i < settings.alarms.count(); ++i) {
        if (!core::isAlarmDue(settings.alarms, i, timeText))
            continue;
        sound::startAlarmSound(module_, player_, !settings.alarmSoundPath.empty());
        const core::AlarmEntry entry = settings.alarms.entry(i);
        tray_.showBalloon(core::alarmBalloonText(timeText, win::ansiToWide(entry.reminder)),
                          core::BalloonTitle);
    }
}

void ClockCheck::raise(HWND insertAfter) {
    SetWindowPos(window_, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace app
