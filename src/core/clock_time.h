#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace core {

constexpr int SecondsPerMinute = 60;

struct LocalTime {
    int year = 2000, month = 1, day = 1, dayOfWeek = 6 /* 0 = Sunday */, hour = 0, minute = 0,
        second = 0, milliseconds = 0;
    // Local time minus UTC: a daylight-saving change moves it, and only it.
    int utcOffsetSeconds = 0;
};

// "HH:MM:SS", the form alarm and shutdown times are stored in.
std::string timeOfDayText(int hour, int minute, int second);

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};
bool isValidTimeOfDay(int hour, int minute, int second);
// "H:MM:SS" or "HH:MM:SS" on the 24-hour clock, nothing before or after; our own reading, so
// it does not depend on the user's locale.
std::optional<TimeOfDay> parseTimeOfDay(const std::string& text);
constexpr int SecondsPerDay = 86400;
int secondOfDay(const LocalTime& t);
// Same text from a second of the day; values outside 0..86399 are taken modulo one day.
std::string timeOfDayText(int secondOfDay);

// A late timer tick must still look at the seconds it skipped, but a clock change must not
// replay a whole stretch of alarms: up to this many seconds are caught up.
constexpr int MaxCatchUpSeconds = 60;

// One character for the day of the week, 0 = Sunday, taken modulo 7.
std::wstring weekdayCharacter(int dayOfWeek);
// "2008年5月1日 星期四": no leading zeros.
std::wstring trayDateText(const LocalTime& t);

// Text limits of the notification area (buffer sizes minus the terminator).
constexpr std::size_t TrayTipMaxUnits = 127, BalloonTextMaxUnits = 255, BalloonTitleMaxUnits = 63;
std::wstring trayTipText(const LocalTime& t);

extern const wchar_t* const BalloonTitle;
std::wstring alarmBalloonText(const std::string& timeText, const std::wstring& reminder);

struct FiredAlarm {
    std::string timeText; // the alarm's own time
    std::wstring reminder;
    long long lateSeconds = 0; // how long after its time it rings, when a jump skipped it
};
// One balloon for every alarm of one tick, so none replaces another before it is read. Alarms
// on time: as above, the time being theirs; several list their reminders line by line, each with
// its own time when they fell in different seconds (a late tick catching up). Late ones: the
// time is `nowText`, and a line under the reminder says how late it rings.
std::wstring alarmBalloonText(const std::vector<FiredAlarm>& fired, const std::string& nowText);
// The balloon with what a jump left undone added below it.
std::wstring withMissedLines(const std::wstring& balloon, const std::vector<std::wstring>& missed);

} // namespace core
