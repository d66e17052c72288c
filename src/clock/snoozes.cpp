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

void Snoozes::add(const std::vector<Ring>& alarms, long long dueLocal) {
    for (const Ring& alarm : alarms) {
        pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                      [&](const Snooze& s) { return s.alarm.sameAlarm(alarm); }),
                       pending_.end());
        pending_.push_back({dueLocal, alarm});
    }
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Snooze& a, const Snooze& b) { return a.dueLocal < b.dueLocal; });
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

void Snoozes::keepOnly(const core::AlarmTable& table) {
    const auto stillOn = [&](const Snooze& s) {
        for (int i = 0; i < table.count(); ++i) {
            const core::AlarmEntry entry = table.entry(i);
            if (entry.enabled == 1 && entry.time == s.alarm.time &&
                entry.reminder == s.alarm.reminder)
                return true;
        }
        return false;
    };
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [&](const Snooze& s) { return !stillOn(s); }),
                   pending_.end());
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
