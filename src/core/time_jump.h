#pragma once
// What the clock owes after its time jumped: a computer that slept, a clock set forward or back,
// a daylight-saving change. The tick sees a jump itself, as a gap between two checks that the
// catch-up of a late tick does not cover, so no message from the system is needed for it.
#include "core/alarm_table.h"
#include "core/clock_time.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace core {

constexpr long long SecondsPerHour = 3600;

// Days from 1 January 1970 to the given date of the proleptic Gregorian calendar.
long long daysFromCivil(int year, int month, int day);
struct CivilDate {
    int year, month, day;
};
CivilDate civilFromDays(long long days);
// The local date and time as one count of seconds (days × 86400 + the second of the day): a
// clock change, daylight saving included, shows as a jump in it like any other.
long long localSeconds(const LocalTime& t);

enum class TickGap {
    First,         // no earlier check
    Live,          // 0..MaxCatchUpSeconds after the last check: every second is caught up
    JumpedForward, // further on than that
    JumpedBack,    // the clock was set back
};
TickGap classifyGap(long long previous, long long now);

// The moments a check at `now` looks at: each second after `previous` up to `now` on a live
// tick (`now` alone when no time passed), otherwise only `now`.
std::vector<long long> momentsToCheck(long long previous, long long now);

// An alarm whose time passed in a jump rings late up to this long after it; later it is missed.
constexpr long long LateAlarmLimitSeconds = 15 * 60;

// The latest moment at or before `now` whose time of day is `timeText`; none for a text that is
// not a time of day.
std::optional<long long> lastOccurrence(const std::string& timeText, long long now);

struct JumpedAlarm {
    int index = 0;
    long long at = 0;
    long long lateSeconds = 0;
    bool late() const { return lateSeconds <= LateAlarmLimitSeconds; }
};
// The enabled alarms whose time fell after `previous` and before `now`, each once, at its latest
// occurrence; a jump of days still lists an alarm once.
std::vector<JumpedAlarm> alarmsInGap(const AlarmTable& table, long long previous, long long now);
// Whether the time of day `timeText` fell after `previous` and before `now`.
bool fellInGap(const std::string& timeText, long long previous, long long now);

// "（闹铃时间 07:00:00，晚了 5 分钟）"; under a minute it counts seconds.
std::wstring latenessLine(const std::string& timeText, long long lateSeconds);

// The balloon and tip lines of what a jump left undone; a line of another day than today
// starts with its date ("12月7日 ").
std::wstring missedAlarmLine(const std::string& timeText, const std::wstring& reminder);
std::wstring datedLine(const std::wstring& line, long long day, long long today);
std::wstring missedShutdownLine(const std::string& shutdownTime);
extern const wchar_t* const MissedTitle;
std::wstring missedBalloonText(const std::vector<std::wstring>& lines);
// The tip with the date, the alarms put off for later and, until the user has seen them, the
// missed lines: the newest that fit, in the order they happened.
std::wstring trayTipText(const LocalTime& t, const std::vector<std::wstring>& missedLines,
                         const std::vector<std::wstring>& snoozeLines = {});

// An alarm rings at most once per calendar date, also when the clock is set back over it. Kept
// in memory only: a restart forgets it, as the file has no room for it.
class RungAlarms {
public:
    // True the first time an alarm of this time and reminder rings on `day`.
    bool firstRing(long long day, const std::string& timeText, const std::string& reminder);
    bool hasRung(long long day, const std::string& timeText, const std::string& reminder) const;
    // The clock was set back to `day`: rings of later dates have not happened yet.
    void forgetAfter(long long day);

private:
    std::set<std::tuple<long long, std::string, std::string>> rung_;
};

// The hourly chime sounds on a live frame within the first seconds of an hour, once per hour;
// never for an hour that passed while the computer slept or that a clock change skipped.
constexpr long long ChimeLateLimitSeconds = 5;
// `previousFrame` < 0: the first frame, which chimes only in the hour's first second.
bool isChimeDue(long long previousFrame, long long now, std::int32_t hourlyChime,
                bool alarmDueAtTheHour);
// The full hour `now` lies in, as a time text ("08:00:00").
std::string hourStartText(long long now);

} // namespace core
