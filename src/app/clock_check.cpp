#include "app/clock_check.h"

#include "app/local_time.h"
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
    std::vector<core::FiredAlarm> fired;
    for (const int second : seconds) {
        const std::string timeText = core::timeOfDayText(second);
        checkShutdown(timeText);
        // The same text also when the countdown ran in between.
        collectDueAlarms(timeText, fired);
    }
    ringAlarms(fired);
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

void ClockCheck::collectDueAlarms(const std::string& timeText,
                                  std::vector<core::FiredAlarm>& fired) const {
    const core::ClockSettings& settings = store_.settings();
    // The count is read afresh each round: a dialog open in a nested loop may change the table.
    for (int i = 0; i < settings.alarms.count(); ++i) {
        if (core::isAlarmDue(settings.alarms, i, timeText))
            fired.push_back({timeText, win::ansiToWide(settings.alarms.entry(i).reminder)});
    }
}

void ClockCheck::ringAlarms(const std::vector<core::FiredAlarm>& fired) {
    if (fired.empty())
        return;
    sound::startAlarmSound(module_, player_, !store_.settings().alarmSoundPath.empty());
    tray_.showBalloon(core::alarmBalloonText(fired), core::BalloonTitle);
}

void ClockCheck::raise(HWND insertAfter) {
    SetWindowPos(window_, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace app
