#pragma once
// The ringing window's side of an alarm: what it lists until the user answers, the answer
// (snooze or close, both silence the sound at once), and keeping the computer awake for an alarm
// that woke it.
#include "clock/ports.h"
#include "clock/snoozes.h"

#include <vector>

namespace clockwork {

// After a wake for an alarm, the system and display stay on this long at most.
constexpr long long KeepAwakeSeconds = 10 * 60;
constexpr int SnoozeMinuteChoices[] = {5, 10, 15, 30};

class AlarmRinging {
public:
    AlarmRinging(RingingView& view, Sound& sound, Machine& machine)
        : view_(view), sound_(sound), machine_(machine) {}

    // Alarms that ring now join those the window lists. `keepAwake`: the computer woke for them.
    void ring(const std::vector<Ring>& alarms, bool keepAwake, long long nowUtc);
    // The user put them off or closed the window: what it listed, to be snoozed.
    std::vector<Ring> answer();
    // Each wake: the time kept awake runs out.
    void onTime(long long nowUtc);
    bool showing() const { return !listed_.empty(); }

private:
    void keepAwake(bool on);

    RingingView& view_;
    Sound& sound_;
    Machine& machine_;
    std::vector<Ring> listed_;
    long long awakeSinceUtc_ = -1;
};

} // namespace clockwork
