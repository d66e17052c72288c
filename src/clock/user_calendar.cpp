#include "clock/user_calendar.h"

#include "core/holidays_file.h"
#include "core/repeat_rule.h"

namespace clockwork {

std::wstring UserCalendar::load() {
    std::vector<std::uint8_t> bytes;
    if (!store_.loadHolidays(bytes) || !codePage_.toWide)
        return std::wstring();
    const core::HolidaysFile file =
        core::HolidaysFile::parse(std::string(bytes.begin(), bytes.end()), codePage_.toWide);
    calendar_.setOverrides(file.days);
    return core::badHolidaysLinesText(file.badLines);
}

std::wstring UserCalendar::notice(const core::AlarmTable& alarms,
                                  const core::LocalTime& today) const {
    for (int i = 0; i < alarms.count(); ++i) {
        if (alarms.enabledAt(i) != 1)
            continue;
        const std::wstring text = core::chinaCalendarNotice(
            alarms.repeatAt(i), {today.year, today.month, today.day}, calendar_);
        if (!text.empty())
            return text;
    }
    return std::wstring();
}

} // namespace clockwork
