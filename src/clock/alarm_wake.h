#pragma once
// Waking the computer from sleep for the next alarm, when the user asked for it: one timer, a
// minute before the next alarm or snooze that will ring, set again after anything that may move
// that time.
#include "clock/ports.h"
#include "clock/snoozes.h"
#include "core/settings.h"
#include "core/work_calendar.h"

namespace clockwork {

// The computer wakes this long before the alarm, so it is ready when the alarm rings.
constexpr long long WakeAheadSeconds = 60;

// The next local second after `nowLocal` at which an enabled alarm (on a day its rule rings) or a
// snooze rings; -1: none.
long long nextRingAfter(const core::AlarmTable& alarms, const Snoozes& snoozes, long long nowLocal,
                        const core::WorkCalendar& calendar);

class AlarmWake {
public:
    AlarmWake(Machine& machine, const core::WorkCalendar& calendar)
        : machine_(machine), calendar_(calendar) {}

    void plan(const core::ClockSettings& settings, const Snoozes& snoozes,
              const core::LocalTime& now);

private:
    Machine& machine_;
    const core::WorkCalendar& calendar_;
    bool set_ = false;
};

} // namespace clockwork
