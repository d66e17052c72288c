#include "core/work_calendar.h"

#include <algorithm>

#include "core/china_calendar_data.h"

namespace core {

namespace {

// 1 January 1970, day 0, was a Thursday.
constexpr long long WeekdayOfDayZero = 3;

std::int32_t dateNumber(const CivilDate& date) {
    return date.year * 10000 + date.month * 100 + date.day;
}

bool listHolds(const DateList& list, std::int32_t number) {
    return std::binary_search(list.dates, list.dates + list.size, number);
}

bool listHasYear(const DateList& list, int year) {
    const std::int32_t* const end = list.dates + list.size;
    const std::int32_t* const first = std::lower_bound(list.dates, end, year * 10000);
    return first != end && *first / 10000 == year;
}

} // namespace

int weekdayFromMonday(const CivilDate& date) {
    const long long days = daysFromCivil(date.year, date.month, date.day) + WeekdayOfDayZero;
    return static_cast<int>((days % DaysPerWeek + DaysPerWeek) % DaysPerWeek);
}

bool isValidDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    // A day past the month's end comes back as a date of the next month.
    const CivilDate back = civilFromDays(daysFromCivil(year, month, day));
    return back.month == month && back.day == day;
}

void WorkCalendar::setOverrides(const std::vector<MarkedDay>& days) {
    overrides_.clear();
    overrideYears_.clear();
    for (const MarkedDay& marked : days) {
        overrides_[dateNumber(marked.date)] = marked.kind;
        overrideYears_.insert(marked.date.year);
    }
}

bool WorkCalendar::isWorkday(const CivilDate& date) const {
    const std::int32_t number = dateNumber(date);
    const auto overridden = overrides_.find(number);
    if (overridden != overrides_.end()) {
        return overridden->second == DayKind::Work;
    }
    if (listHolds(ChinaHolidays, number)) {
        return false;
    }
    if (listHolds(ChinaMakeupWorkdays, number)) {
        return true;
    }
    return weekdayFromMonday(date) < SaturdayFromMonday;
}

bool WorkCalendar::knowsYear(int year) const {
    return overrideYears_.count(year) != 0 || listHasYear(ChinaHolidays, year) ||
           listHasYear(ChinaMakeupWorkdays, year);
}

} // namespace core
