#include "core/clock_time.h"

#include "core/codepage.h"

namespace core {

namespace {

constexpr int SecondsPerDay = 86400;

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

int secondOfDay(const LocalTime& t) {
    return t.hour * 3600 + t.minute * 60 + t.second;
}

std::string timeOfDayText(int secondOfDay) {
    const int s = positiveModulo(secondOfDay, SecondsPerDay);
    return timeOfDayText(s / 3600, s / 60 % 60, s % 60);
}

std::vector<int> secondsToCheck(int previousSecondOfDay, int nowSecondOfDay) {
    if (previousSecondOfDay < 0 || previousSecondOfDay >= SecondsPerDay || nowSecondOfDay < 0 ||
        nowSecondOfDay >= SecondsPerDay) {
        return {nowSecondOfDay};
    }
    const int gap = positiveModulo(nowSecondOfDay - previousSecondOfDay, SecondsPerDay);
    if (gap < 1 || gap > MaxCatchUpSeconds) {
        return {nowSecondOfDay};
    }
    std::vector<int> seconds;
    seconds.reserve(static_cast<std::size_t>(gap));
    for (int step = 1; step <= gap; ++step) {
        seconds.push_back((previousSecondOfDay + step) % SecondsPerDay);
    }
    return seconds;
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
    // The time is ASCII digits and colons, so widening byte by byte is exact.
    std::wstring time;
    time.reserve(timeText.size());
    for (const char c : timeText) {
        time += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return cutWide(L"现在是北京时间：" + time + L"\n\n" + reminder, BalloonTextMaxUnits);
}

} // namespace core
