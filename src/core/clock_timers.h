#pragma once
// The clock window's timers. At most one of the redraw and the two fade timers runs at a time:
// a fade redraws in place of the redraw timer.

namespace core {

enum ClockTimer : unsigned {
    redrawTimer = 1001,
    fadeInTimer = 1002,
    fadeOutTimer = 1003,
    clockCheckTimer = 1004,
};

constexpr unsigned RedrawPeriodMs = 500, FadePeriodMs = 30, ClockCheckPeriodMs = 500;

} // namespace core
