#pragma once
// The soaks' day: fifty alarms and a daily shutdown whose countdown the user lets show for a few
// seconds before cancelling it. The native soak holds each second's balloon against this table;
// the Win32 soak runs the real window through the same days.
#include "core/alarm_table.h"
#include "core/clock_time.h"

#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace soak_plan {

struct PlannedAlarm {
    std::int32_t enabled;
    std::string time;
    std::wstring reminder;
};

// The repeating shutdown. Inside its countdown the clock is woken once more in the shutdown's
// own second, which must not open a second countdown, and then through the seconds the
// countdown shows.
const char* const ShutdownTime = "11:00:00";
constexpr int CountdownSeconds = 4;

// Written in this order, which is the order of the reminders in the one balloon of a second.
const PlannedAlarm EdgeAlarms[] = {
    {1, "00:00:00", L"午夜零点"},
    {1, "23:59:59", L"一天的最后一秒"},
    {1, "07:30:00", L"起床"},
    {2, "07:30:00", L"开关为 2"}, // after one of its second: it would be listed too
    {1, "07:30:01", L"起床后一秒"},
    {0, "07:30:01", L"关着"},
    {1, ShutdownTime, L"关机的那一秒"}, // rung by the wake inside the countdown
    {1, "11:00:02", L"倒计时之中"},
    {1, "18:00:00", L"完全相同"},
    {1, "18:00:00", L"完全相同"}, // the same alarm twice rings once
    {1, "19:30:00", L"同一秒之先"},
    {1, "19:30:00", L"同一秒之后"}, // listed after the other in one balloon
    {0, "20:00:00", L"关着的另一个"},
    {2, "20:00:01", L"开关为 2 的另一个"},
};

inline int secondOfDayOf(const std::string& time) {
    const core::TimeOfDay t = core::parseTimeOfDay(time).value_or(core::TimeOfDay{});
    return t.hour * 3600 + t.minute * 60 + t.second;
}

// Fifty alarms: the edge cases above, then alarms on seconds of their own spread over the day,
// some of them off or with `enabled` 2, each with a reminder of its own.
inline std::vector<PlannedAlarm> plannedAlarms() {
    std::vector<PlannedAlarm> alarms(std::begin(EdgeAlarms), std::end(EdgeAlarms));
    std::set<int> taken;
    for (const PlannedAlarm& alarm : alarms)
        taken.insert(secondOfDayOf(alarm.time));
    for (int i = 0; alarms.size() < core::AlarmMaxCount; ++i) {
        int second = 3600 + i * 1931;
        while (taken.count(second))
            ++second;
        taken.insert(second);
        const std::int32_t enabled = i % 4 == 3 ? 0 : i % 9 == 5 ? 2 : 1;
        alarms.push_back(
            {enabled, core::timeOfDayText(second), L"第 " + std::to_wstring(i) + L" 个闹铃"});
    }
    return alarms;
}

} // namespace soak_plan
