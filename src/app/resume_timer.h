#pragma once
// A waitable timer that wakes the computer from sleep at a set time. Windows itself resumes the
// computer when it falls due; nothing waits on it, so a timer that has fallen due simply stays
// signalled until it is set again.
#include "win/handles.h"

namespace app {

class ResumeTimer {
public:
    // At this UTC second (since 1970), in place of any time set before. False when it cannot
    // be set; the time set before then stays.
    bool set(long long utcSeconds);
    void cancel();

    // The timer, signalled once it has fallen due; null before the first set.
    HANDLE handle() const { return timer_.get(); }

private:
    win::UniqueKernelHandle timer_;
};

} // namespace app
