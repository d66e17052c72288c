#include "core/repeat_rule.h"

#include "core/clock_time.h"
#include "core/holidays_file.h"

namespace core {

namespace {

constexpr int DaysSearchedAhead = 400;

bool isDayChoice(std::uint8_t repeat) {
    return repeat != RepeatEveryDay && repeat < RepeatDayBits;
}

} // namespace

std::uint8_t normalizedRepeat(std::uint8_t repeat) {
    return repeat == RepeatDayBits ? RepeatEveryDay : repeat;
}

bool isOnce(std::uint8_t repeat) {
    return repeat == RepeatOnce;
}

bool usesChinaCalendar(std::uint8_t repeat) {
    return repeat == RepeatChinaWorkdays || repeat == RepeatChinaRestDays;
}

std::optional<std::uint8_t> chosenDays(std::uint8_t repeat) {
    return isDayChoice(repeat) ? std::optional<std::uint8_t>(repeat) : std::nullopt;
}

bool ringsOn(std::uint8_t repeat, const CivilDate& date, const WorkCalendar& calendar) {
    if (isDayChoice(repeat)) {
        return (repeat & weekdayBit(weekdayFromMonday(date))) != 0;
    }
    switch (repeat) {
    case RepeatChinaWorkdays: return calendar.isWorkday(date);
    case RepeatChinaRestDays: return !calendar.isWorkday(date);
    default: return true;
    }
}

std::optional<long long> nextRingDay(std::uint8_t repeat, long long fromDay,
                                     const WorkCalendar& calendar) {
    for (long long day = fromDay; day < fromDay + DaysSearchedAhead; ++day) {
        if (ringsOn(repeat, civilFromDays(day), calendar)) {
            return day;
        }
    }
    return std::nullopt;
}

std::wstring repeatText(std::uint8_t repeat) {
    switch (normalizedRepeat(repeat)) {
    case RepeatMondayToFriday: return L"工作日（周一至周五）";
    case RepeatWeekend: return L"周末";
    case RepeatOnce: return L"仅一次";
    case RepeatChinaWorkdays: return L"法定工作日";
    case RepeatChinaRestDays: return L"法定节假日";
    default: break;
    }
    if (!isDayChoice(repeat)) {
        return L"每天";
    }
    std::wstring days;
    for (int weekday = 0; weekday < DaysPerWeek; ++weekday) {
        if ((repeat & weekdayBit(weekday)) == 0) {
            continue;
        }
        if (!days.empty()) {
            days += L' ';
        }
        // weekdayCharacter counts from Sunday.
        days += weekdayCharacter(weekday + 1);
    }
    return days;
}

std::wstring unknownYearNotice(int year, const WorkCalendar& calendar) {
    if (calendar.knowsYear(year)) {
        return std::wstring();
    }
    return std::to_wstring(year) + L" 年的法定节假日安排未知，按周一至周五计算；可在 " +
           HolidaysFileName + L" 中补充。";
}

std::wstring chinaCalendarNotice(std::uint8_t repeat, const CivilDate& today,
                                 const WorkCalendar& calendar) {
    if (!usesChinaCalendar(repeat)) {
        return std::wstring();
    }
    const std::wstring thisYear = unknownYearNotice(today.year, calendar);
    if (!thisYear.empty()) {
        return thisYear;
    }
    const CivilDate ahead =
        civilFromDays(daysFromCivil(today.year, today.month, today.day) + NoticeLookAheadDays);
    return unknownYearNotice(ahead.year, calendar);
}

} // namespace core
