#pragma once
// Alarms put off with "稍后提醒": each rings again at a wall-clock time, and like any alarm a
// sleep or clock change over that time rings it late or lists it as missed. Kept in memory only.
#include "core/alarm_table.h"
#include "core/clock_time.h"

#include <string>
#include <vector>

namespace clockwork {

// An alarm as the clock rang it: what it shows, and its time and reminder as stored, by which
// it is found in the table again.
struct Ring {
    core::FiredAlarm shown;
    std::string time, reminder;
    bool sameAlarm(const Ring& other) const {
        return time == other.time && reminder == other.reminder;
    }
};

struct Snooze {
    long long dueLocal; // local seconds, as core::localSeconds counts them
    Ring alarm;
};

class Snoozes {
public:
    struct Due {
        std::vector<Ring> rung;
        std::vector<Snooze> missed;
    };
    // Each alarm at most once: snoozed again, it moves to the new time.
    void add(const std::vector<Ring>& alarms, long long dueLocal);
    // The snoozes whose time has come by `nowLocal`: `jumped` (sleep, a clock set forward)
    // rings those at most a little late and gives back the rest as missed.
    Due takeDue(long long nowLocal, bool jumped);
    // The table was edited from `before`: the snoozes of alarms deleted or switched off end. An
    // alarm that switched itself off after ringing once keeps its snooze.
    void onTableEdited(const core::AlarmTable& before, const core::AlarmTable& after);
    bool dueAt(long long local) const;
    // The next one due after `nowLocal`, or -1.
    long long nextAfter(long long nowLocal) const;
    // "稍后提醒 07:10 起床", soonest first.
    std::vector<std::wstring> tipLines() const;
    bool empty() const { return pending_.empty(); }

private:
    std::vector<Snooze> pending_;
};

} // namespace clockwork
