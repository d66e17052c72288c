#pragma once
// What the clock asks of the computer around an alarm, each through the part that knows how:
// the playback device's volume, the shell's notification state, a timer that resumes the
// computer, and the request that keeps it and its display on.
#include "app/resume_timer.h"
#include "clock/ports.h"
#include "win/com.h"

namespace app {

// Lives on the clock's thread, which it starts COM on for the device's volume: the request to
// stay awake belongs to the thread that made it.
class ClockMachine final : public clockwork::Machine {
public:
    ClockMachine() = default;
    ~ClockMachine();
    ClockMachine(const ClockMachine&) = delete;
    ClockMachine& operator=(const ClockMachine&) = delete;

    bool soundAudible() override;
    bool userBusy() override;
    void setWakeTimer(long long utcSeconds) override { resume_.set(utcSeconds); }
    void cancelWakeTimer() override { resume_.cancel(); }
    void keepAwake(bool on) override;

private:
    win::ComApartment com_;
    ResumeTimer resume_;
    bool keptAwake_ = false;
};

} // namespace app
