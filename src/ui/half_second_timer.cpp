#include "ui/half_second_timer.h"

#include "core/clock_timers.h"

namespace ui {

void HalfSecondTimer::start(int millisecond) {
    arm(core::millisecondsToNextTick(millisecond));
}

void HalfSecondTimer::onTick(int millisecond) {
    if (!core::isTickInStep(millisecond)) {
        // Out of step: fire once more at the right moment, then on the half-second period.
        arm(core::millisecondsToNextTick(millisecond));
    } else if (armedDelay_ != core::RedrawPeriodMs) {
        arm(core::RedrawPeriodMs);
    }
}

void HalfSecondTimer::stop() {
    KillTimer(window_, id_);
    armedDelay_ = 0;
}

void HalfSecondTimer::arm(UINT delay) {
    // Setting a running timer again restarts it with the new delay.
    SetTimer(window_, id_, delay, nullptr);
    armedDelay_ = delay;
}

} // namespace ui
