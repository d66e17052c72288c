#pragma once
// The repeat rule of an alarm: one byte, kept in the spare last byte of the entry's time field,
// which every older file holds as 0 (every day).
#include <cstdint>
#include <optional>
#include <string>

#include "core/time_jump.h"
#include "core/work_calendar.h"

namespace core {

constexpr std::uint8_t RepeatEveryDay = 0x00;
// 0x01..0x7F: the days of the week whose bits are set, bit 0 Monday … bit 6 Sunday.
constexpr std::uint8_t RepeatDayBits = 0x7F;
constexpr std::uint8_t RepeatMondayToFriday = 0x1F;
constexpr std::uint8_t RepeatWeekend = 0x60;
// Rings at its next time, then turns itself off.
constexpr std::uint8_t RepeatOnce = 0x80;
// China's working days (the makeup days included), and every other day. Any other value rings
// every day: an unknown rule rings rather than stays silent.
constexpr std::uint8_t RepeatChinaWorkdays = 0x81;
constexpr std::uint8_t RepeatChinaRestDays = 0x82;

constexpr std::uint8_t weekdayBit(int weekdayFromMonday) {
    return static_cast<std::uint8_t>(1u << weekdayFromMonday);
}

// All seven days are stored as every day, so one rule has one byte.
std::uint8_t normalizedRepeat(std::uint8_t repeat);
bool isOnce(std::uint8_t repeat);
// The rules that follow China's schedule, for which an unknown year matters.
bool usesChinaCalendar(std::uint8_t repeat);
// The chosen days of the week, or none for a rule that is not a choice of days (every day
// included).
std::optional<std::uint8_t> chosenDays(std::uint8_t repeat);

// Whether an alarm of this rule rings on the date; a once-alarm rings on any date.
bool ringsOn(std::uint8_t repeat, const CivilDate& date, const WorkCalendar& calendar);
// The first day (counted from 1 January 1970) at or after `fromDay` on which it rings; none
// when no day of the coming year does (a "Holidays.txt" that gives every day off).
std::optional<long long> nextRingDay(std::uint8_t repeat, long long fromDay,
                                     const WorkCalendar& calendar);

// What the alarm list shows: "每天", "工作日（周一至周五）", "周末", "一 三 五", ….
std::wstring repeatText(std::uint8_t repeat);

// "2027 年的法定节假日安排未知，…" for a year the calendar has no data for; empty otherwise.
std::wstring unknownYearNotice(int year, const WorkCalendar& calendar);
// The notice a rule of China's calendar needs on `today`: about this year, or about the next
// one once it is less than this many days away; empty for other rules and known years.
constexpr long long NoticeLookAheadDays = 31;
std::wstring chinaCalendarNotice(std::uint8_t repeat, const CivilDate& today,
                                 const WorkCalendar& calendar);

} // namespace core
