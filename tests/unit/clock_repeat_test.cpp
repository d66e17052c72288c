// Alarms on the days their rule gives: China's working days with their makeup days, once-alarms
// that switch themselves off, a jump over midnight, and what "Holidays.txt" adds or gets wrong.
#include "clock_fakes.h"
#include "core/repeat_rule.h"

#include <gtest/gtest.h>

using fakes::ClockOnFakes;

namespace {

core::ClockSettings alarmWithRule(const char* time, std::uint8_t repeat, bool wake = false) {
    core::ClockSettings s;
    core::AlarmEntry entry{1, time, "起床"};
    entry.repeat = repeat;
    s.alarms.assign({entry}, nullptr);
    core::setWakeForAlarms(s, wake);
    return s;
}

} // namespace

TEST(ClockRepeat, ChinasWorkingDaysRingOnAMakeupSaturdayAndNotOnAHoliday) {
    struct Day {
        core::CivilDate date;
        std::uint8_t repeat;
        int rings;
    };
    for (const Day& d : {Day{{2026, 10, 10}, core::RepeatChinaWorkdays, 1},
                         Day{{2026, 10, 1}, core::RepeatChinaWorkdays, 0},
                         Day{{2026, 10, 12}, core::RepeatChinaWorkdays, 1},
                         Day{{2026, 10, 1}, core::RepeatChinaRestDays, 1},
                         Day{{2026, 10, 10}, core::RepeatMondayToFriday, 0}}) {
        ClockOnFakes c(alarmWithRule("07:00:00", d.repeat), d.date, 6, 59, 59);
        c.at(7, 0, 0);
        EXPECT_EQ(c.sound.alarms, d.rings)
            << d.date.month << "-" << d.date.day << " rule " << +d.repeat;
    }
}

TEST(ClockRepeat, AOnceAlarmSwitchesItselfOffAndItsSnoozeStillRings) {
    ClockOnFakes c(alarmWithRule("07:00:00", core::RepeatOnce), {2026, 12, 7}, 6, 59, 59);
    c.at(7, 0, 0);
    EXPECT_EQ(c.store.saved().alarms.entry(0).enabled, 0);
    const core::AlarmTable before = c.clock.settings().alarms;
    c.clock.snooze(5);
    c.clock.onAlarmsEdited(before); // the dialog accepted with nothing changed
    c.reach(7, 5, 0);
    EXPECT_EQ(c.sound.alarms, 2);
    c.onDate({2026, 12, 8});
    c.reach(7, 0, 0);
    EXPECT_EQ(c.sound.alarms, 2);
}

TEST(ClockRepeat, AJumpOverMidnightIntoASaturdayRingsOnlyFridaysAlarm) {
    core::ClockSettings s;
    core::AlarmEntry late{1, "23:58:00", "周五晚"}, early{1, "00:05:00", "周六早"};
    late.repeat = early.repeat = core::RepeatMondayToFriday;
    s.alarms.assign({late, early}, nullptr);
    ClockOnFakes c(s, {2026, 12, 11}, 23, 50, 0); // a Friday
    c.onDate({2026, 12, 12});
    c.jumpTo(0, 10, 0);
    EXPECT_EQ(c.tray.balloon,
              L"现在是北京时间：00:10:00\n\n周五晚\n（闹铃时间 23:58:00，晚了 12 分钟）");
}

TEST(ClockRepeat, HolidaysTxtOverridesNamesItsBadLineAndAnUnknownYearIsNoticed) {
    const std::string holidays = "\xEF\xBB\xBF# 调休\n2026-10-12 休\n2026-13-01 班\n";
    ClockOnFakes c(alarmWithRule("07:00:00", core::RepeatChinaWorkdays), {2026, 10, 12}, 6, 59, 59,
                   holidays);
    EXPECT_NE(c.tray.balloon.find(L"第 3 行"), std::wstring::npos) << fakes::toUtf8(c.tray.balloon);
    c.at(7, 0, 0);
    EXPECT_EQ(c.sound.alarms, 0);
    // December, with next year's schedule not yet known: the tip says so, until a file gives it.
    ClockOnFakes december(alarmWithRule("07:00:00", core::RepeatChinaWorkdays), {2026, 12, 9}, 9, 0,
                          0);
    EXPECT_NE(december.tray.tip.find(L"2027 年的法定节假日安排未知"), std::wstring::npos);
    ClockOnFakes known(alarmWithRule("07:00:00", core::RepeatChinaWorkdays), {2026, 12, 9}, 9, 0, 0,
                       "2027-01-01 休\n");
    EXPECT_EQ(known.tray.tip.find(L"未知"), std::wstring::npos);
    EXPECT_EQ(known.tray.balloons, 0);
}

TEST(ClockRepeat, TheWakeTimerSkipsTheDaysTheRuleDoesNotRing) {
    // Friday evening: a Monday-to-Friday alarm wakes the computer on Monday.
    ClockOnFakes c(alarmWithRule("07:00:00", core::RepeatMondayToFriday, true), {2026, 12, 11}, 22,
                   0, 0);
    EXPECT_EQ(c.machine.wakeUtc,
              core::daysFromCivil(2026, 12, 14) * core::SecondsPerDay + 7 * 3600 - 60);
}
