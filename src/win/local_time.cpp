#include "win/local_time.h"

#include "core/time_jump.h"

#include <windows.h>

#include <utility>

namespace win {

namespace {
LocalTimeSource& source() {
    static LocalTimeSource instance;
    return instance;
}
} // namespace

void setLocalTimeSource(LocalTimeSource replacement) {
    source() = std::move(replacement);
}

core::LocalTime currentLocalTime() {
    if (source())
        return source()();
    SYSTEMTIME now{}, utc{};
    GetSystemTime(&utc);
    GetLocalTime(&now);
    core::LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.dayOfWeek = now.wDayOfWeek;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.milliseconds = now.wMilliseconds;
    // Read a moment apart, the two may straddle a second: offsets are whole minutes.
    const long long apart =
        core::localSeconds(time) -
        (core::daysFromCivil(utc.wYear, utc.wMonth, utc.wDay) * core::SecondsPerDay +
         utc.wHour * core::SecondsPerHour + utc.wMinute * core::SecondsPerMinute + utc.wSecond);
    constexpr long long Minute = core::SecondsPerMinute;
    time.utcOffsetSeconds =
        static_cast<int>((apart + (apart >= 0 ? Minute / 2 : -Minute / 2)) / Minute * Minute);
    return time;
}

} // namespace win
