#include "clock/clock_check.h"

#include "core/repeat_rule.h"

namespace clockwork {

const wchar_t* const ShutdownRefusedMessage = L"计算机没有关机：系统拒绝了关机请求。";

namespace {

std::string textOf(long long localSeconds) {
    return core::timeOfDayText(static_cast<int>(localSeconds % core::SecondsPerDay));
}

long long dayOf(long long localSeconds) {
    return localSeconds / core::SecondsPerDay;
}

} // namespace

std::wstring ClockCheck::wide(const std::string& bytes) const {
    const CodePage& codePage = keeper_.codePage();
    return codePage.toWide ? codePage.toWide(bytes) : std::wstring(bytes.begin(), bytes.end());
}

void ClockCheck::onResumed() {
    if (shutdownPending_)
        ports_.countdown.interrupt();
}

std::vector<Ring> ClockCheck::onTime(const core::LocalTime& now) {
    const long long nowLocal = core::localSeconds(now);
    const long long nowUtc = nowLocal - now.utcOffsetSeconds;
    const long long previousLocal = lastLocal_, previousUtc = lastUtc_;
    lastLocal_ = nowLocal;
    lastUtc_ = nowUtc;
    Found found;
    const core::TickGap gap = core::classifyGap(previousUtc, nowUtc);
    const bool offsetChanged =
        gap != core::TickGap::First && nowLocal - previousLocal != nowUtc - previousUtc;
    if (gap == core::TickGap::JumpedBack || (offsetChanged && nowLocal < previousLocal)) {
        // What rang on the dates ahead of the new one has not happened yet.
        rung_.forgetAfter(dayOf(nowLocal));
        shutdownsDone_.forgetAfter(dayOf(nowLocal));
    }
    std::vector<long long> moments{nowLocal};
    if (gap == core::TickGap::JumpedForward) {
        settleJump(previousLocal, nowLocal, found);
    } else if (gap == core::TickGap::Live && !offsetChanged) {
        // A busy thread or a stalled modal loop must not lose an alarm; each skipped second
        // keeps its own time in the balloon.
        moments = core::momentsToCheck(previousLocal, nowLocal);
    } else if (gap == core::TickGap::Live && nowLocal > previousLocal) {
        ringSkipped(previousLocal, nowLocal, textOf(nowLocal), found);
    }
    for (const long long at : moments) {
        checkShutdown(at, found);
        // The same text also when the countdown ran in between.
        collectDueAlarms(at, found);
    }
    const std::size_t ringsBefore = found.fired.size();
    if (gap != core::TickGap::First)
        collectSnoozes(nowLocal, gap == core::TickGap::JumpedForward, found);
    report(found, now);
    // A snooze that rang leaves the tip (a missed one is listed there by report).
    if (found.fired.size() != ringsBefore)
        tip_.refresh(ports_.time.now());
    return found.fired;
}

void ClockCheck::collectSnoozes(long long now, bool jumped, Found& found) {
    Snoozes::Due due = snoozes_.takeDue(now, jumped);
    found.fired.insert(found.fired.end(), due.rung.begin(), due.rung.end());
    for (const Snooze& missed : due.missed)
        found.missed.push_back(
            {dayOf(missed.dueLocal),
             core::missedAlarmLine(textOf(missed.dueLocal), missed.alarm.shown.reminder)});
}

void ClockCheck::settleJump(long long previous, long long now, Found& found) {
    // A countdown showing when the computer slept must not shut it down on waking.
    if (shutdownPending_)
        ports_.countdown.interrupt();
    const core::ClockSettings& settings = keeper_.settings();
    for (core::JumpedAlarm jumped : core::alarmsInGap(settings.alarms, previous, now)) {
        // The latest time in the gap on a day its rule rings.
        while (jumped.at > previous && !ringsOn(jumped.index, jumped.at)) {
            jumped.at -= core::SecondsPerDay;
            jumped.lateSeconds += core::SecondsPerDay;
        }
        if (jumped.at <= previous)
            continue;
        const core::AlarmEntry entry = settings.alarms.entry(jumped.index);
        const long long day = dayOf(jumped.at);
        if (rung_.hasRung(day, entry.time, entry.reminder))
            continue; // it rang before the clock was set back over it
        if (!jumped.late()) {
            found.missed.push_back({day, core::missedAlarmLine(entry.time, wide(entry.reminder))});
        } else if (rung_.firstRing(day, entry.time, entry.reminder)) {
            found.fired.push_back({{entry.time, wide(entry.reminder), jumped.lateSeconds},
                                   entry.time,
                                   entry.reminder});
        }
        // Missed or rung late, a once-alarm's time has come.
        switchOffOnce(jumped.index);
    }
    // A shutdown long after its time would surprise whoever is now at the computer. A daily one
    // comes again tomorrow; a once-only one is over, as if it had run.
    const core::ShutdownSchedule& shutdown = settings.shutdown;
    if (shutdown.shutdownEnabled && core::fellInGap(shutdown.shutdownTime, previous, now)) {
        const long long day = dayOf(*core::lastOccurrence(shutdown.shutdownTime, now));
        if (shutdownsDone_.firstRing(day, shutdown.shutdownTime, std::string())) {
            found.missed.push_back({day, core::missedShutdownLine(shutdown.shutdownTime)});
            if (shutdown.shutdownRepeat == 0)
                disarmOnce();
        }
    }
}

void ClockCheck::ringSkipped(long long previous, long long now, const std::string& nowText,
                             Found& found) {
    // Daylight saving skipped these local times while the computer was running: they come due
    // now, on time.
    const core::ClockSettings& settings = keeper_.settings();
    for (const core::JumpedAlarm& skipped : core::alarmsInGap(settings.alarms, previous, now)) {
        if (!ringsOn(skipped.index, now))
            continue;
        const core::AlarmEntry entry = settings.alarms.entry(skipped.index);
        if (rung_.firstRing(dayOf(now), entry.time, entry.reminder))
            found.fired.push_back({{nowText, wide(entry.reminder)}, entry.time, entry.reminder});
        switchOffOnce(skipped.index);
    }
    const core::ShutdownSchedule& shutdown = settings.shutdown;
    if (core::fellInGap(shutdown.shutdownTime, previous, now) &&
        core::isShutdownDue(shutdown, shutdown.shutdownTime, shutdownPending_) &&
        shutdownsDone_.firstRing(dayOf(now), shutdown.shutdownTime, std::string()))
        runCountdown(now, found);
}

void ClockCheck::checkShutdown(long long at, Found& found) {
    const core::ShutdownSchedule& shutdown = keeper_.settings().shutdown;
    const std::string timeText = textOf(at);
    // Once per date: not again in its second, nor when the clock is set back over it.
    if (!core::isShutdownDue(shutdown, timeText, shutdownPending_) ||
        !shutdownsDone_.firstRing(dayOf(at), timeText, std::string()))
        return;
    runCountdown(at, found);
}

void ClockCheck::runCountdown(long long at, Found& found) {
    core::ClockSettings& settings = keeper_.settings();
    const std::string timeText = settings.shutdown.shutdownTime;
    // Set first: the clock is woken again inside the countdown.
    shutdownPending_ = true;
    // A one-time shutdown is disarmed before it shows, so a cancel does not bring it back.
    if (settings.shutdown.shutdownRepeat == 0)
        disarmOnce();
    if (!settings.alwaysOnTop)
        ports_.view.setTopmost(true);
    const CountdownEnd end = ports_.countdown.run();
    if (end == CountdownEnd::ShutDown)
        return; // the system is going down: no second countdown meanwhile
    // Cancelled, refused or interrupted: the schedule stays usable, a daily one comes due again
    // tomorrow.
    shutdownPending_ = false;
    if (!keeper_.settings().alwaysOnTop)
        ports_.view.setTopmost(false);
    if (end == CountdownEnd::Refused)
        ports_.view.tell(ShutdownRefusedMessage);
    if (end == CountdownEnd::Interrupted)
        found.missed.push_back({dayOf(at), core::missedShutdownLine(timeText)});
}

void ClockCheck::disarmOnce() {
    core::ClockSettings& settings = keeper_.settings();
    settings.shutdown.shutdownEnabled = 0;
    settings.shutdown.shutdownTime.clear();
    keeper_.save();
}

void ClockCheck::collectDueAlarms(long long at, Found& found) {
    const core::ClockSettings& settings = keeper_.settings();
    const std::string timeText = textOf(at);
    // The count is read afresh each round: a dialog open in a nested loop may change the table.
    for (int i = 0; i < settings.alarms.count(); ++i) {
        if (!core::isAlarmDue(settings.alarms, i, timeText) || !ringsOn(i, at))
            continue;
        const core::AlarmEntry entry = settings.alarms.entry(i);
        // Once a day, also when the clock is set back over it or checks its second twice.
        if (rung_.firstRing(dayOf(at), entry.time, entry.reminder))
            found.fired.push_back({{timeText, wide(entry.reminder)}, entry.time, entry.reminder});
        switchOffOnce(i);
    }
}

bool ClockCheck::ringsAt(long long local) const {
    const core::AlarmTable& alarms = keeper_.settings().alarms;
    const std::string timeText = textOf(local);
    for (int i = 0; i < alarms.count(); ++i)
        if (core::isAlarmDue(alarms, i, timeText) && ringsOn(i, local))
            return true;
    return false;
}

bool ClockCheck::ringsOn(int index, long long at) const {
    return core::ringsOn(keeper_.settings().alarms.repeatAt(index), core::civilFromDays(dayOf(at)),
                         calendar_);
}

void ClockCheck::switchOffOnce(int index) {
    core::AlarmTable& alarms = keeper_.settings().alarms;
    if (!core::isOnce(alarms.repeatAt(index)) || alarms.enabledAt(index) != 1)
        return;
    alarms.setEnabledAt(index, 0);
    keeper_.save();
}

void ClockCheck::report(const Found& found, const core::LocalTime& now) {
    // The date of now, which a countdown in between may have moved on.
    const core::LocalTime today = ports_.time.now();
    if (!found.missed.empty())
        tip_.addMissed(found.missed, today);
    const std::vector<std::wstring> missed = shownLines(found.missed, today);
    const std::string nowText = core::timeOfDayText(core::secondOfDay(now));
    if (!found.fired.empty()) {
        std::vector<core::FiredAlarm> shown;
        for (const Ring& ring : found.fired)
            shown.push_back(ring.shown);
        ports_.sound.playAlarm();
        ports_.tray.showBalloon(
            core::withMissedLines(core::alarmBalloonText(shown, nowText), missed),
            core::BalloonTitle);
    } else if (!missed.empty()) {
        ports_.tray.showBalloon(core::missedBalloonText(missed), core::MissedTitle);
    }
}

} // namespace clockwork
