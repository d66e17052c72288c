#pragma once
// The hourly chime: heard on the frame that shows a new hour, unless an alarm is due at that
// hour or the hour came by a jump (sleep, a clock change) rather than by the clock ticking.
#include "core/clock_time.h"
#include "core/settings.h"

namespace clockwork {

class HourlyChime {
public:
    // Every frame drawn, with the time it shows: true when the chime sounds now. Once per hour,
    // also when the clock is set back into it; an hour that daylight saving skipped to is
    // reached live.
    // `alarmAtTheHour`: an alarm or a snooze rings in the hour's first second.
    bool onFrame(const core::LocalTime& now, const core::ClockSettings& settings,
                 bool alarmAtTheHour);

private:
    long long previousUtc_ = -1;
    long long lastChimedHour_ = -1;
};

} // namespace clockwork
