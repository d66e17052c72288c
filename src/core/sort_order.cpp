#include "core/sort_order.h"

#include "core/clock_time.h"

#include <optional>

namespace core {

namespace {

constexpr long long SecondsPerDay = 86400;

// Bytes are tested as unsigned values: the C library's character tests are undefined for the
// negative chars that double-byte text gives.
bool isSpaceByte(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigitByte(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool isSign(char c) {
    return c == '-' || c == '+';
}

int signOf(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Days from 1 January 1970 to the given date of the proleptic Gregorian calendar.
constexpr long long daysFromCivil(long long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// A time of day alone comes before every date: it lies on the day before the first one a
// four-digit year can name. (The platform's date values put it on 30 December 1899, which would
// sort it after the earlier dates and make it equivalent to that day's date with the same time.)
constexpr long long TimeAloneDay = daysFromCivil(0, 1, 1) - 1;

// A number of `minWidth` to `maxWidth` digits at `at`; -1 when there is none.
int readNumber(const std::string& text, std::size_t& at, std::size_t minWidth,
               std::size_t maxWidth) {
    int value = 0;
    std::size_t width = 0;
    while (width < maxWidth && at < text.size() &&
           isDigitByte(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++width;
    }
    return width >= minWidth ? value : -1;
}

// "YYYY-M-D" or "YYYY/M/D" at the start of the text, as days from 1970.
std::optional<long long> readDate(const std::string& text, std::size_t& at) {
    const int year = readNumber(text, at, 4, 4);
    if (year < 0 || at >= text.size() || (text[at] != '-' && text[at] != '/')) {
        return std::nullopt;
    }
    const char separator = text[at++];
    const int month = readNumber(text, at, 1, 2);
    if (month < 1 || month > 12 || at >= text.size() || text[at++] != separator) {
        return std::nullopt;
    }
    const int day = readNumber(text, at, 1, 2);
    if (day < 1 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return daysFromCivil(year, month, day);
}

long long secondsOf(const TimeOfDay& t) {
    return t.hour * 3600LL + t.minute * 60LL + t.second;
}

// Seconds on one scale for a date, a date with a time, or a time alone.
std::optional<long long> dateTimeValue(const std::string& text) {
    if (const auto time = parseTimeOfDay(text)) {
        return TimeAloneDay * SecondsPerDay + secondsOf(*time);
    }
    std::size_t at = 0;
    const auto day = readDate(text, at);
    if (!day) {
        return std::nullopt;
    }
    if (at == text.size()) {
        return *day * SecondsPerDay;
    }
    const std::size_t timeStart = text.find_first_not_of(' ', at);
    if (timeStart == at || timeStart == std::string::npos) {
        return std::nullopt;
    }
    const auto time = parseTimeOfDay(text.substr(timeStart));
    if (!time) {
        return std::nullopt;
    }
    return *day * SecondsPerDay + secondsOf(*time);
}

struct IntegerParts {
    bool negative;
    std::string digits; // without leading zeros; empty for zero
};

IntegerParts integerParts(const std::string& text) {
    const std::size_t signLength = isSign(text[0]) ? 1 : 0;
    const std::size_t first = text.find_first_not_of('0', signLength);
    IntegerParts parts{text[0] == '-', first == std::string::npos ? "" : text.substr(first)};
    if (parts.digits.empty()) {
        parts.negative = false; // "-0" is zero
    }
    return parts;
}

// Exact, for integers of any length: no conversion that could round two texts together.
int compareIntegers(const std::string& a, const std::string& b) {
    const IntegerParts x = integerParts(a);
    const IntegerParts y = integerParts(b);
    if (x.negative != y.negative) {
        return x.negative ? -1 : 1;
    }
    int magnitude =
        signOf(static_cast<long long>(x.digits.size()) - static_cast<long long>(y.digits.size()));
    if (magnitude == 0) {
        magnitude = signOf(x.digits.compare(y.digits));
    }
    return x.negative ? -magnitude : magnitude;
}

int compareWithinKind(SortKind kind, const std::string& a, const std::string& b) {
    switch (kind) {
    case SortKind::Empty: return 0;
    case SortKind::Integer: return compareIntegers(a, b);
    case SortKind::DateTime: return signOf(*dateTimeValue(a) - *dateTimeValue(b));
    case SortKind::Text:
    default:
        // std::string compares its chars as unsigned char.
        return signOf(a.compare(b));
    }
}

} // namespace

std::string trimSpace(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpaceByte(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && isSpaceByte(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool isIntegerText(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    const std::size_t signLength = isSign(text[0]) && text.size() >= 2 ? 1 : 0;
    for (std::size_t i = signLength; i < text.size(); ++i) {
        if (!isDigitByte(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

SortKind sortKindOf(const std::string& trimmedText) {
    if (trimmedText.empty()) {
        return SortKind::Empty;
    }
    if (isIntegerText(trimmedText)) {
        return SortKind::Integer;
    }
    if (dateTimeValue(trimmedText)) {
        return SortKind::DateTime;
    }
    return SortKind::Text;
}

int compareSortTexts(const std::string& a, const std::string& b) {
    const std::string x = trimSpace(a);
    const std::string y = trimSpace(b);
    const SortKind xKind = sortKindOf(x);
    const SortKind yKind = sortKindOf(y);
    if (xKind != yKind) {
        return xKind < yKind ? -1 : 1;
    }
    return compareWithinKind(xKind, x, y);
}

int compareSortTexts(const std::string& a, const std::string& b, bool ascending) {
    return ascending ? compareSortTexts(a, b) : compareSortTexts(b, a);
}

} // namespace core
