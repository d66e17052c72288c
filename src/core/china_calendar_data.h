#pragma once
// China's published schedule of working days, built into the program. The table is generated
// into china_calendar_data.cpp by tools/make_china_calendar.py; nothing else writes it.
#include <cstddef>
#include <cstdint>

namespace core {

// Dates written as one number, yyyymmdd (20261001), in ascending order.
struct DateList {
    const std::int32_t* dates;
    std::size_t size;
};

// Every day off of a statutory holiday, the weekend days within the break included.
extern const DateList ChinaHolidays;
// The weekend days that are worked to make a break longer (调休上班).
extern const DateList ChinaMakeupWorkdays;

} // namespace core
