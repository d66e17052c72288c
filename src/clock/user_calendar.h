#pragma once
// China's working days as the clock uses them: the built-in schedule with the user's
// "Holidays.txt" over it, and the notice an alarm of China's calendar needs for a year neither
// knows.
#include "clock/ports.h"
#include "core/work_calendar.h"

#include <string>

namespace clockwork {

class UserCalendar {
public:
    UserCalendar(Store& store, CodePage codePage) : store_(store), codePage_(codePage) {}

    // Reads "Holidays.txt" when there is one; the balloon text naming a line it had to skip, or
    // empty.
    std::wstring load();
    const core::WorkCalendar& calendar() const { return calendar_; }
    // The notice on `today`'s date when an enabled alarm follows China's calendar into a year
    // it does not know; empty otherwise.
    std::wstring notice(const core::AlarmTable& alarms, const core::LocalTime& today) const;

private:
    Store& store_;
    CodePage codePage_;
    core::WorkCalendar calendar_;
};

} // namespace clockwork
