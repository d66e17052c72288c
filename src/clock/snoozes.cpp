#include "clock/snoozes.h"

#include "core/time_jump.h"

#include <algorithm>

namespace clockwork {

namespace {

const wchar_t* const SnoozeTipPrefix = L"稍后提醒 ";

std::wstring hoursAndMinutes(long long local) {
    const std::string text = core::timeOfDayText(static_cast<int>(local % core::SecondsPerDay));
    return std::wstring(text.begin(), text.begin() + 5); // "HH:MM" of "HH:MM:SS"
}

} // namespace

// Kept in the order they come due, snoozes of one time in the order they were made. Plain
// loops: the list holds a few entries, and sorting templates would cost more code than it.
void Snoozes::add(const std::vector<Ring>& alarms, long long dueLocal) {
    for (const Ring& alarm : alarms) {
        for (auto s = pending_.begin(); s != pending_.end(); ++s) {
            if (s->alarm.sameAlarm(alarm)) {
                pending_.erase(s);
                break;
            }
        }
        auto later = pending_.begin();
        while (later != pending_.end() && later->dueLocal <= dueLocal)
            ++later;
        pending_.insert(later, {dueLocal, alarm});
    }
}

Snoozes::Due Snoozes::takeDue(long long nowLocal, bool jumped) {
    Due due;
    const auto firstLater = std::find_if(pending_.begin(), pending_.end(),
                                         [&](const Snooze& s) { return s.dueLocal > nowLocal; });
    for (auto s = pending_.begin(); s != firstLater; ++s) {
        const long long late = jumped ? nowLocal - s->dueLocal : 0;
        if (late > core::LateAlarmLimitSeconds) {
            due.missed.push_back(*s);
            continue;
        }
        Ring ring = s->alarm;
        ring.shown.timeText =
            core::timeOfDayText(static_cast<int>(s->dueLocal % core::SecondsPerDay));
        ring.shown.lateSeconds = late;
        due.rung.push_back(ring);
    }
    pending_.erase(pending_.begin(), firstLater);
    return due;
}

namespace {

// -1: the alarm is not in the table; otherwise whether it is on.
int stateIn(const core::AlarmTable& table, const Ring& alarm) {
    int state = -1;
    for (int i = 0; i < table.count(); ++i) {
        const core::AlarmEntry entry = table.entry(i);
        if (entry.time == alarm.time && entry.reminder == alarm.reminder)
            state = std::max(state, entry.enabled == 1 ? 1 : 0);
    }
    return state;
}

} // namespace

void Snoozes::onTableEdited(const core::AlarmTable& before, const core::AlarmTable& after) {
    const auto ended = [&](const Snooze& s) {
        const int now = stateIn(after, s.alarm);
        return now < 0 || (now == 0 && stateIn(before, s.alarm) == 1);
    };
    for (auto s = pending_.begin(); s != pending_.end();)
        s = ended(*s) ? pending_.erase(s) : s + 1;
}

bool Snoozes::dueAt(long long local) const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const Snooze& s) { return s.dueLocal == local; });
}

long long Snoozes::nextAfter(long long nowLocal) const {
    for (const Snooze& s : pending_)
        if (s.dueLocal > nowLocal)
            return s.dueLocal;
    return -1;
}

std::vector<std::wstring> Snoozes::tipLines() const {
    std::vector<std::wstring> lines;
    for (const Snooze& s : pending_)
        lines.push_back(SnoozeTipPrefix + hoursAndMinutes(s.dueLocal) + L" " +
                        s.alarm.shown.reminder);
    return lines;
}

} // namespace clockwork
