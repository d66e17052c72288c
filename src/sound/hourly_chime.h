#pragma once
// The hourly chime: heard on the frame that shows a new hour, unless an alarm is due at that
// hour or the hour came by a jump (sleep, a clock change) rather than by the clock ticking.
#include <windows.h>

#include "core/clock_time.h"
#include "core/settings.h"

namespace sound {

class HourlyChime {
public:
    explicit HourlyChime(HMODULE module) : module_(module) {}

    // Every frame drawn, with the time it shows.
    void onFrame(const core::LocalTime& now, const core::ClockSettings& settings);

private:
    HMODULE module_;
    long long previousFrame_ = -1;
};

} // namespace sound
