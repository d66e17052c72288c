#include "core/clock_time.h"

#include "core/codepage.h"
#include "core/time_jump.h"

namespace core {

namespace {

int positiveModulo(int value, int divisor) {
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

void appendTwoDigits(std::string& out, int value) {
    // Clock fields are 0..59; anything wider still prints in full, like "%02d" would.
    if (value >= 0 && value < 10) {
        out += '0';
    }
    out += std::to_string(value);
}

// Time texts are ASCII digits and colons, so widening byte by byte is exact.
std::wstring asciiToWide(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

} // namespace

std::string timeOfDayText(int hour, int minute, int second) {
    std::string text;
    text.reserve(8);
    appendTwoDigits(text, hour);
    text += ':';
    appendTwoDigits(text, minute);
    text += ':';
    appendTwoDigits(text, second);
    return text;
}

bool isValidTimeOfDay(int hour, int minute, int second) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

namespace {

bool isDigitByte(char c) {
    return c >= '0' && c <= '9';
}

// Up to two digits from `at`, at least `minWidth` of them; -1 when they are not there.
int readDigits(const std::string& text, std::size_t& at, std::size_t minWidth) {
    int value = 0;
    std::size_t width = 0;
    while (width < 2 && at < text.size() && isDigitByte(text[at])) {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++width;
    }
    return width >= minWidth ? value : -1;
}

bool readColon(const std::string& text, std::size_t& at) {
    if (at >= text.size() || text[at] != ':') {
        return false;
    }
    ++at;
    return true;
}

} // namespace

std::optional<TimeOfDay> parseTimeOfDay(const std::string& text) {
    std::size_t at = 0;
    TimeOfDay t;
    t.hour = readDigits(text, at, 1);
    if (t.hour < 0 || !readColon(text, at)) {
        return std::nullopt;
    }
    t.minute = readDigits(text, at, 2);
    if (t.minute < 0 || !readColon(text, at)) {
        return std::nullopt;
    }
    t.second = readDigits(text, at, 2);
    if (t.second < 0 || at != text.size() || !isValidTimeOfDay(t.hour, t.minute, t.second)) {
        return std::nullopt;
    }
    return t;
}

int secondOfDay(const LocalTime& t) {
    return t.hour * 3600 + t.minute * 60 + t.second;
}

std::string timeOfDayText(int secondOfDay) {
    const int s = positiveModulo(secondOfDay, SecondsPerDay);
    return timeOfDayText(s / 3600, s / 60 % 60, s % 60);
}

std::wstring weekdayCharacter(int dayOfWeek) {
    static const wchar_t* const names[7] = {L"日", L"一", L"二", L"三", L"四", L"五", L"六"};
    return names[positiveModulo(dayOfWeek, 7)];
}

std::wstring trayDateText(const LocalTime& t) {
    // Built by hand: swprintf's signature and %s meaning differ between MSVC and MinGW runtimes.
    return std::to_wstring(t.year) + L"年" + std::to_wstring(t.month) + L"月" +
           std::to_wstring(t.day) + L"日 星期" + weekdayCharacter(t.dayOfWeek);
}

std::wstring trayTipText(const LocalTime& t) {
    return cutWide(L"Veltrano\n\n" + trayDateText(t), TrayTipMaxUnits);
}

const wchar_t* const BalloonTitle = L"〓〓〓〓〓 提 醒 〓〓〓〓〓：";

std::wstring alarmBalloonText(const std::string& timeText, const std::wstring& reminder) {
    return cutWide(L"现在是北京时间：" + asciiToWide(timeText) + L"\n\n" + reminder,
                   BalloonTextMaxUnits);
}

std::wstring alarmBalloonText(const std::vector<FiredAlarm>& fired, const std::string& nowText) {
    if (fired.empty()) {
        return {};
    }
    bool anyLate = false;
    for (const FiredAlarm& alarm : fired) {
        anyLate = anyLate || alarm.lateSeconds > 0;
    }
    const std::string& header = anyLate ? nowText : fired.back().timeText;
    bool oneSecond = true;
    for (const FiredAlarm& alarm : fired) {
        oneSecond = oneSecond && (alarm.lateSeconds > 0 || alarm.timeText == header);
    }
    std::wstring lines;
    for (const FiredAlarm& alarm : fired) {
        if (!lines.empty()) {
            lines += L'\n';
        }
        if (alarm.lateSeconds > 0) {
            lines += alarm.reminder + L'\n' + latenessLine(alarm.timeText, alarm.lateSeconds);
            continue;
        }
        if (!oneSecond) {
            lines += asciiToWide(alarm.timeText) + L' ';
        }
        lines += alarm.reminder;
    }
    return alarmBalloonText(header, lines);
}

std::wstring withMissedLines(const std::wstring& balloon, const std::vector<std::wstring>& missed) {
    if (missed.empty()) {
        return balloon;
    }
    return cutWide(balloon + L"\n\n" + MissedTitle + L"\n" + missedBalloonText(missed),
                   BalloonTextMaxUnits);
}

} // namespace core
