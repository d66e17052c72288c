#pragma once
// Which days are working days in China: Monday to Friday, except the statutory holidays, plus
// the makeup working days. The built-in schedule covers the years published when the program
// was built; the user's "Holidays.txt" adds later years and corrects any date.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "core/time_jump.h"

namespace core {

// 0 = Monday … 6 = Sunday; Saturday and Sunday are the weekend.
constexpr int SaturdayFromMonday = 5, DaysPerWeek = 7;
int weekdayFromMonday(const CivilDate& date);
bool isValidDate(int year, int month, int day);

enum class DayKind { Rest, Work };
struct MarkedDay {
    CivilDate date;
    DayKind kind;
};

class WorkCalendar {
public:
    // The built-in schedule, nothing overridden.
    WorkCalendar() = default;

    // Days that override the built-in schedule, replacing earlier overrides; of two for the same
    // date the later wins. Every year they mention counts as known.
    void setOverrides(const std::vector<MarkedDay>& days);

    // A year without any data gives Monday to Friday.
    bool isWorkday(const CivilDate& date) const;
    // Whether the schedule of this year is there at all, built in or from the overrides.
    bool knowsYear(int year) const;

private:
    std::map<std::int32_t, DayKind> overrides_;
    std::set<int> overrideYears_;
};

} // namespace core
