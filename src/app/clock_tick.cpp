// The timer handler: redraw twice a second, and the shutdown and alarm checks.
#include "app/clock_window.h"

#include "app/local_time.h"
#include "core/clock_time.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "sound/sounds.h"
#include "win/strings.h"

namespace app {

void ClockWindow::onTick(UINT_PTR timerId) {
    switch (timerId) {
    case redrawTimer: onRedrawTick(); break;
    case fadeInTimer: fadeInStep(); break;
    case fadeOutTimer: fadeOutStep(); break;
    case clockCheckTimer: onClockCheckTick(); break;
    default: break;
    }
}

void ClockWindow::onRedrawTick() {
    renderClock(displayedOpacity_);
    soundPlayer_->applyTimeLimit(settings_.alarmSoundSeconds);
}

void ClockWindow::onClockCheckTick() {
    const core::LocalTime now = currentLocalTime();
    const int nowSecond = core::secondOfDay(now);
    // A tick that comes late (a busy thread, a stalled modal loop) still looks at the seconds it
    // skipped, so no alarm is lost; each keeps its own time in the balloon.
    const std::vector<int> seconds = core::secondsToCheck(lastCheckedSecond_, nowSecond);
    lastCheckedSecond_ = nowSecond;
    for (const int second : seconds)
        checkSecond(second);
}

void ClockWindow::checkSecond(int secondOfDay) {
    const std::string timeText = core::timeOfDayText(secondOfDay);
    checkShutdown(timeText);
    // The same text also when the countdown ran in between.
    checkAlarms(timeText);
}

void ClockWindow::checkShutdown(const std::string& timeText) {
    if (!core::isShutdownDue(settings_.shutdown, timeText, shutdownPending_))
        return;
    // Set first: the countdown's modal loop runs this tick again.
    shutdownPending_ = true;
    if (settings_.shutdown.shutdownRepeat == 0) {
        // A one-time shutdown is disarmed before it shows, so a cancel does not bring it back.
        settings_.shutdown.shutdownEnabled = 0;
        settings_.shutdown.shutdownTime.clear();
        saveSettings();
    }
    if (!settings_.alwaysOnTop)
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    dialogs::ShutdownCountdownDialog countdown(module());
    const INT_PTR result = countdown.doModal(hwnd());
    if (result == IDCANCEL) {
        shutdownPending_ = false;
        if (!settings_.alwaysOnTop)
            SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ClockWindow::checkAlarms(const std::string& timeText) {
    // The count is read again each round: a dialog opened from the balloon's tick may change it.
    for (int i = 0; i < settings_.alarms.count(); ++i) {
        if (!core::isAlarmDue(settings_.alarms, i, timeText))
            continue;
        startAlarmSound();
        const core::AlarmEntry entry = settings_.alarms.entry(i);
        showTrayBalloon(core::alarmBalloonText(timeText, win::ansiToWide(entry.reminder)),
                        core::BalloonTitle);
    }
}

void ClockWindow::startAlarmSound() {
    if (settings_.alarmSoundPath.empty()) {
        sound::playBuiltInAlarm(module());
        return;
    }
    if (soundPlayer_->isPlaying())
        return;
    // A file that cannot be played must not leave the alarm silent.
    if (!soundPlayer_->play())
        sound::playBuiltInAlarm(module());
}

} // namespace app
