#include "app/resume_timer.h"

#include "core/file_time.h"

namespace app {

bool ResumeTimer::set(long long utcSeconds) {
    const auto ticks = core::fileTimeTicks(utcSeconds);
    if (!ticks)
        return false;
    // Manual reset: a timer that fell due stays so, and setting it again makes it unsignalled.
    if (!timer_)
        timer_.reset(CreateWaitableTimerW(nullptr, TRUE, nullptr));
    if (!timer_)
        return false;
    LARGE_INTEGER due;
    due.QuadPart = *ticks; // positive: an absolute UTC time
    // Without a completion routine nothing runs when it falls due; the last argument asks
    // Windows to resume the computer for it. Where the system cannot, it is set all the same.
    return SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE) != FALSE;
}

void ResumeTimer::cancel() {
    if (timer_)
        CancelWaitableTimer(timer_.get());
}

} // namespace app
