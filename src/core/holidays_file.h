#pragma once
// "Holidays.txt" beside "Settings.def": the user's own dates for China's calendar, one a line,
// "2027-01-01 休" (a day off) or "2027-02-07 班" (a working day); "#" starts a comment. UTF-8,
// with or without a byte-order mark, or the ANSI code page.
#include <string>
#include <vector>

#include "core/work_calendar.h"

namespace core {

extern const wchar_t* const HolidaysFileName;

struct BadHolidaysLine {
    int number = 0; // counted from 1
    std::wstring text;
};

struct HolidaysFile {
    // In the order of the file; WorkCalendar::setOverrides lets a later line for a date win.
    std::vector<MarkedDay> days;
    // Lines that are neither blank, a comment nor a date with 休 or 班; they are skipped.
    std::vector<BadHolidaysLine> badLines;

    // Text that is not valid UTF-8 is taken for the ANSI code page and given to `ansiToWide`.
    static HolidaysFile parse(const std::string& bytes,
                              std::wstring (*ansiToWide)(const std::string& bytes));
};

// The balloon that names the first line skipped (and how many more there are); empty when every
// line was read.
std::wstring badHolidaysLinesText(const std::vector<BadHolidaysLine>& badLines);

} // namespace core
