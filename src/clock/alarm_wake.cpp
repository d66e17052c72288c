#include "clock/alarm_wake.h"

#include "core/repeat_rule.h"
#include "core/time_jump.h"

namespace clockwork {

long long nextRingAfter(const core::AlarmTable& alarms, const Snoozes& snoozes, long long nowLocal,
                        const core::WorkCalendar& calendar) {
    long long next = snoozes.nextAfter(nowLocal);
    const long long today = nowLocal / core::SecondsPerDay;
    for (int i = 0; i < alarms.count(); ++i) {
        const core::AlarmEntry entry = alarms.entry(i);
        const auto time = core::parseTimeOfDay(entry.time);
        if (entry.enabled != 1 || !time)
            continue;
        const long long second =
            time->hour * core::SecondsPerHour + time->minute * 60LL + time->second;
        const long long firstDay =
            today * core::SecondsPerDay + second > nowLocal ? today : today + 1;
        const std::optional<long long> day = core::nextRingDay(entry.repeat, firstDay, calendar);
        if (!day)
            continue;
        const long long at = *day * core::SecondsPerDay + second;
        if (next < 0 || at < next)
            next = at;
    }
    return next;
}

void AlarmWake::plan(const core::ClockSettings& settings, const Snoozes& snoozes,
                     const core::LocalTime& now) {
    const long long nowLocal = core::localSeconds(now);
    const long long next = core::wakesForAlarms(settings)
                               ? nextRingAfter(settings.alarms, snoozes, nowLocal, calendar_)
                               : -1;
    if (next < 0) {
        if (set_)
            machine_.cancelWakeTimer();
        set_ = false;
        return;
    }
    // Within the last minute the alarm's own second, so a sleep just before it still wakes.
    const long long wakeLocal = next - WakeAheadSeconds > nowLocal ? next - WakeAheadSeconds : next;
    machine_.setWakeTimer(wakeLocal - now.utcOffsetSeconds);
    set_ = true;
}

} // namespace clockwork
