#include "clock/alarm_ringing.h"

#include "core/time_jump.h"

#include <algorithm>

namespace clockwork {

namespace {

RingingLine lineOf(const Ring& ring) {
    const core::FiredAlarm& shown = ring.shown;
    const std::string& time = shown.lateSeconds > 0 ? ring.time : shown.timeText;
    return {std::wstring(time.begin(), time.end()), shown.reminder,
            shown.lateSeconds > 0 ? core::latenessLine(ring.time, shown.lateSeconds)
                                  : std::wstring()};
}

} // namespace

void AlarmRinging::ring(const std::vector<Ring>& alarms, bool keepAwakeNow, long long nowUtc) {
    for (const Ring& alarm : alarms) {
        // An alarm listed again (its snooze came round) shows once, as it rings now.
        for (auto r = listed_.begin(); r != listed_.end(); ++r) {
            if (r->sameAlarm(alarm)) {
                listed_.erase(r);
                break;
            }
        }
        listed_.push_back(alarm);
    }
    std::vector<RingingLine> lines;
    for (const Ring& alarm : listed_)
        lines.push_back(lineOf(alarm));
    // Asked each time: the user may have muted the sound since the last alarm.
    if (!view_.showRinging(lines, !machine_.soundAudible())) {
        listed_.clear(); // the balloon and the sound tell instead
        return;
    }
    if (keepAwakeNow && awakeSinceUtc_ < 0) {
        awakeSinceUtc_ = nowUtc;
        keepAwake(true);
    }
}

std::vector<Ring> AlarmRinging::answer() {
    sound_.stopAlarm();
    view_.closeRinging();
    keepAwake(false);
    std::vector<Ring> answered;
    answered.swap(listed_);
    return answered;
}

void AlarmRinging::onTime(long long nowUtc) {
    if (awakeSinceUtc_ >= 0 && nowUtc - awakeSinceUtc_ >= KeepAwakeSeconds)
        keepAwake(false);
}

void AlarmRinging::keepAwake(bool on) {
    if (!on && awakeSinceUtc_ < 0)
        return;
    if (!on)
        awakeSinceUtc_ = -1;
    machine_.keepAwake(on);
}

} // namespace clockwork
