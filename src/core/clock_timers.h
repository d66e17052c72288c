#pragma once
// The clock window's timers. At most one of the redraw and the two fade timers runs at a time:
// a fade redraws in place of the redraw timer.

namespace core {

enum ClockTimer : unsigned {
    RedrawTimer = 1001,
    FadeInTimer = 1002,
    FadeOutTimer = 1003,
    ClockCheckTimer = 1004,
};

// The redraw and the check come every half second; a fade step every 30 ms.
constexpr unsigned RedrawPeriodMs = 500, FadePeriodMs = 30;

// The half-second timers are kept in step with the wall clock: each fires this long after a
// full or a half second, so the second hand moves with the true second and each second is
// checked exactly twice, whatever the phase the timers were started with.
constexpr unsigned TickOffsetMs = 10;

// The delay to arm a half-second timer with at `millisecond` (0..999) of the current second:
// until the next full or half second plus the offset. A tick that fires between a boundary and
// its offset (a little early) counts as that boundary's tick; the delay is never below the
// offset, so a timer cannot spin.
constexpr unsigned millisecondsToNextTick(int millisecond) {
    const int phase =
        ((millisecond % static_cast<int>(RedrawPeriodMs)) + static_cast<int>(RedrawPeriodMs)) %
        static_cast<int>(RedrawPeriodMs);
    return RedrawPeriodMs + TickOffsetMs - static_cast<unsigned>(phase);
}

// A half-second timer that fires up to this long after its full or half second is in step and
// is left running; one that drifts further, or fires before the boundary, is re-armed. Most
// ticks therefore cost no timer call at all.
constexpr unsigned TickLateToleranceMs = 10;
constexpr bool isTickInStep(int millisecond) {
    const int phase =
        ((millisecond % static_cast<int>(RedrawPeriodMs)) + static_cast<int>(RedrawPeriodMs)) %
        static_cast<int>(RedrawPeriodMs);
    return phase <= static_cast<int>(TickOffsetMs + TickLateToleranceMs);
}

} // namespace core
