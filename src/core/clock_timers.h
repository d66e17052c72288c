#pragma once
// The clock window's one timer. The clock asks for its next wake each time it runs: just after
// the next true second, so the second hand moves with it and each second is checked once, or
// sooner while a fade runs.

namespace core {

constexpr unsigned WakeTimer = 1001;

constexpr unsigned SecondMs = 1000, FadePeriodMs = 30;

// A wake is aimed this long after the full second, so that a timer a few milliseconds early
// still reads the new second.
constexpr unsigned TickOffsetMs = 10;

// The delay to the next wake at `millisecond` (0..999) of the current second: to the next full
// second plus the offset. Never below the offset, so a timer that fires early cannot spin.
constexpr unsigned millisecondsToNextSecond(int millisecond) {
    const int phase = ((millisecond % static_cast<int>(SecondMs)) + static_cast<int>(SecondMs)) %
                      static_cast<int>(SecondMs);
    return SecondMs + TickOffsetMs - static_cast<unsigned>(phase);
}

} // namespace core
