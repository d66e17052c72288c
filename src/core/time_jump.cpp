#include "core/time_jump.h"

#include "core/codepage.h"

namespace core {

namespace {

long long floorDiv(long long value, long long divisor) {
    const long long q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

std::wstring widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

long long daysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil: eras of 400 years, the year starting in March.
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = floorDiv(y, 400);
    const long long yearOfEra = y - era * 400;
    const long long monthFromMarch = month > 2 ? month - 3 : month + 9;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(long long days) {
    // The inverse of daysFromCivil, by the same eras.
    const long long z = days + 719468;
    const long long era = floorDiv(z, 146097);
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

long long localSeconds(const LocalTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * SecondsPerDay + secondOfDay(t);
}

TickGap classifyGap(long long previous, long long now) {
    if (previous < 0) {
        return TickGap::First;
    }
    if (now < previous) {
        return TickGap::JumpedBack;
    }
    return now - previous <= MaxCatchUpSeconds ? TickGap::Live : TickGap::JumpedForward;
}

std::vector<long long> momentsToCheck(long long previous, long long now) {
    if (classifyGap(previous, now) != TickGap::Live || now == previous) {
        return {now};
    }
    std::vector<long long> moments;
    moments.reserve(static_cast<std::size_t>(now - previous));
    for (long long at = previous + 1; at <= now; ++at) {
        moments.push_back(at);
    }
    return moments;
}

std::optional<long long> lastOccurrence(const std::string& timeText, long long now) {
    const std::optional<TimeOfDay> time = parseTimeOfDay(timeText);
    if (!time) {
        return std::nullopt;
    }
    const long long second =
        time->hour * SecondsPerHour + time->minute * SecondsPerMinute + time->second;
    const long long today = floorDiv(now, SecondsPerDay) * SecondsPerDay + second;
    return today <= now ? today : today - SecondsPerDay;
}

bool fellInGap(const std::string& timeText, long long previous, long long now) {
    const std::optional<long long> at = lastOccurrence(timeText, now);
    return at && *at > previous && *at < now;
}

std::vector<JumpedAlarm> alarmsInGap(const AlarmTable& table, long long previous, long long now) {
    std::vector<JumpedAlarm> jumped;
    for (int i = 0; i < table.count(); ++i) {
        const AlarmEntry entry = table.entry(i);
        if (entry.enabled != 1 || !fellInGap(entry.time, previous, now)) {
            continue;
        }
        const long long at = *lastOccurrence(entry.time, now);
        jumped.push_back({i, at, now - at});
    }
    return jumped;
}

std::wstring latenessLine(const std::string& timeText, long long lateSeconds) {
    const std::wstring late = lateSeconds < SecondsPerMinute
                                  ? std::to_wstring(lateSeconds) + L" 秒"
                                  : std::to_wstring(lateSeconds / SecondsPerMinute) + L" 分钟";
    return L"（闹铃时间 " + widened(timeText) + L"，晚了 " + late + L"）";
}

std::wstring missedAlarmLine(const std::string& timeText, const std::wstring& reminder) {
    return widened(timeText) + L" " + reminder;
}

std::wstring datedLine(const std::wstring& line, long long day, long long today) {
    if (day == today)
        return line;
    const CivilDate date = civilFromDays(day);
    return std::to_wstring(date.month) + L"月" + std::to_wstring(date.day) + L"日 " + line;
}

std::wstring missedShutdownLine(const std::string& shutdownTime) {
    return L"自动关机 " + widened(shutdownTime) + L" 未执行";
}

const wchar_t* const MissedTitle = L"错过的闹铃：";

std::wstring missedBalloonText(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += (text.empty() ? L"" : L"\n") + line;
    }
    return cutWide(text, BalloonTextMaxUnits);
}

std::wstring trayTipText(const LocalTime& t, const std::vector<std::wstring>& missedLines,
                         const std::vector<std::wstring>& snoozeLines) {
    std::wstring head = trayTipText(t);
    for (const std::wstring& line : snoozeLines)
        head += L"\n" + line;
    if (missedLines.empty()) {
        return head;
    }
    const std::wstring title = std::wstring(L"\n") + MissedTitle;
    // The newest lines are the ones the user needs: older ones give way when the tip is full.
    std::wstring lines;
    for (auto line = missedLines.rbegin(); line != missedLines.rend(); ++line) {
        const std::wstring longer = L"\n" + *line + lines;
        if (!lines.empty() && head.size() + title.size() + longer.size() > TrayTipMaxUnits) {
            break;
        }
        lines = longer;
    }
    return cutWide(head + title + lines, TrayTipMaxUnits);
}

bool RungAlarms::firstRing(long long day, const std::string& timeText,
                           const std::string& reminder) {
    // A set-back reaches at most into yesterday; anything older is forgotten.
    rung_.erase(rung_.begin(), rung_.lower_bound({day - 1, std::string(), std::string()}));
    return rung_.insert({day, timeText, reminder}).second;
}

bool RungAlarms::hasRung(long long day, const std::string& timeText,
                         const std::string& reminder) const {
    return rung_.count({day, timeText, reminder}) != 0;
}

void RungAlarms::forgetAfter(long long day) {
    rung_.erase(rung_.lower_bound({day + 1, std::string(), std::string()}), rung_.end());
}

std::string hourStartText(long long now) {
    const long long second = now - floorDiv(now, SecondsPerDay) * SecondsPerDay;
    return timeOfDayText(static_cast<int>(second - second % SecondsPerHour));
}

bool isChimeDue(long long previousFrame, long long now, std::int32_t hourlyChime,
                bool alarmDueAtTheHour) {
    if (hourlyChime != 1 || alarmDueAtTheHour) {
        return false;
    }
    const long long hourStart = floorDiv(now, SecondsPerHour) * SecondsPerHour;
    if (previousFrame < 0) {
        return now == hourStart;
    }
    return classifyGap(previousFrame, now) == TickGap::Live && previousFrame < hourStart &&
           now - hourStart <= ChimeLateLimitSeconds;
}

} // namespace core
