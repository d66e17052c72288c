#include "clock/hourly_chime.h"

#include "core/alarm_table.h"
#include "core/time_jump.h"

namespace clockwork {

bool HourlyChime::onFrame(const core::LocalTime& now, const core::ClockSettings& settings,
                          bool alarmAtTheHour) {
    const long long at = core::localSeconds(now);
    const long long utc = at - now.utcOffsetSeconds;
    // The previous frame as far back on this clock as the time that really passed.
    const long long previous = previousUtc_ < 0 ? -1 : at - (utc - previousUtc_);
    previousUtc_ = utc;
    const long long hour = at - at % core::SecondsPerHour;
    if (hour == lastChimedHour_ ||
        !core::isChimeDue(previous, at, settings.hourlyChime, alarmAtTheHour))
        return false;
    lastChimedHour_ = hour;
    return true;
}

} // namespace clockwork
