#include "win/local_time.h"

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
    SYSTEMTIME now{};
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
    return time;
}

} // namespace win
