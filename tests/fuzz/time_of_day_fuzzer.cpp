// The time parser on any text. parseTimeOfDay accepts exactly the texts of the pattern
// [0-9]{1,2}:[0-9]{2}:[0-9]{2}, nothing before or after, whose hour is below 24 and whose minute
// and second are below 60, and gives their values. What it accepts, timeOfDayText writes back
// as "HH:MM:SS": the same text when the hour had two digits, and one the parser reads the same.
// The first four bytes also give a second of the day, any int: its text reads back as that
// second taken modulo one day.
#include <regex>
#include <string>

#include "core/clock_time.h"
#include "fuzz_support.h"

namespace {

constexpr int SecondsPerDay = 86400;

bool sameTime(const core::TimeOfDay& a, const core::TimeOfDay& b) {
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

void checkParser(const std::string& text) {
    static const std::regex pattern("([0-9]{1,2}):([0-9]{2}):([0-9]{2})");
    std::smatch match;
    const bool matches = std::regex_match(text, match, pattern);
    const auto parsed = core::parseTimeOfDay(text);
    if (!matches) {
        fuzz::require(!parsed, "only the pattern is accepted");
        return;
    }
    const core::TimeOfDay expected{std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3])};
    const bool valid = expected.hour < 24 && expected.minute < 60 && expected.second < 60;
    fuzz::require(parsed.has_value() == valid, "a time of the pattern is accepted when valid");
    if (!parsed)
        return;
    fuzz::require(sameTime(*parsed, expected), "the values as written");
    const std::string written = core::timeOfDayText(parsed->hour, parsed->minute, parsed->second);
    fuzz::require(written.size() == 8, "written as HH:MM:SS");
    fuzz::require(text.size() != 8 || written == text, "a two-digit hour is written back as read");
    const auto reread = core::parseTimeOfDay(written);
    fuzz::require(reread && sameTime(*reread, *parsed), "the written text reads the same");
}

void checkSecondOfDay(int second) {
    const auto parsed = core::parseTimeOfDay(core::timeOfDayText(second));
    fuzz::require(parsed.has_value(), "a second of the day writes a valid time");
    const int expected = (second % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
    fuzz::require(parsed->hour * 3600 + parsed->minute * 60 + parsed->second == expected,
                  "the text is the second modulo one day");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkParser(fuzz::textOf(data, size));
    checkSecondOfDay(fuzz::ByteReader(data, size).int32());
    return 0;
}
