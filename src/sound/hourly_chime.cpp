#include "sound/hourly_chime.h"

#include "core/alarm_table.h"
#include "core/time_jump.h"
#include "sound/sounds.h"

namespace sound {

void HourlyChime::onFrame(const core::LocalTime& now, const core::ClockSettings& settings) {
    const long long at = core::localSeconds(now);
    const bool alarmDue = core::isAnyAlarmDue(settings.alarms, core::hourStartText(at));
    if (core::isChimeDue(previousFrame_, at, settings.hourlyChime, alarmDue))
        requestChime(module_);
    previousFrame_ = at;
}

} // namespace sound
