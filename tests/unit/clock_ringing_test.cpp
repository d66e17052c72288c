// The alarm the user answers: the ringing window's list, snooze and close, the wake timer chosen
// for the next alarm, and no chime while the user presents.
#include "clock_fakes.h"

#include <gtest/gtest.h>

using fakes::ClockOnFakes;
using fakes::withAlarms;

namespace {

core::ClockSettings waking(const std::vector<core::AlarmEntry>& rows) {
    core::ClockSettings s = withAlarms(rows);
    core::setWakeForAlarms(s, true);
    return s;
}

// UTC seconds of 7 December 2026 at this time, for the fake clock 8 hours ahead of UTC.
long long utcOn7th(int hour, int minute, int second) {
    return core::daysFromCivil(2026, 12, 7) * core::SecondsPerDay + hour * 3600 + minute * 60 +
           second - 8 * 3600;
}

} // namespace

TEST(ClockRinging, TheWindowListsEachRingingAlarmUntilAnsweredAndSaysWhenTheSoundIsOff) {
    ClockOnFakes c(withAlarms({{1, "07:00:00", "起床"}, {1, "07:00:30", "早饭"}}), 6, 59, 59);
    c.machine.audible = false;
    c.at(7, 0, 0);
    ASSERT_TRUE(c.ringing.open);
    ASSERT_EQ(c.ringing.lines.size(), 1u);
    EXPECT_EQ(c.ringing.lines[0].time, L"07:00:00");
    EXPECT_EQ(c.ringing.lines[0].reminder, L"起床");
    EXPECT_TRUE(c.ringing.soundOff);
    c.machine.audible = true;
    c.at(7, 0, 30); // the window is still open: the new alarm joins it
    ASSERT_EQ(c.ringing.lines.size(), 2u);
    EXPECT_EQ(c.ringing.lines[1].reminder, L"早饭");
    EXPECT_FALSE(c.ringing.soundOff);
    c.clock.dismissRinging();
    EXPECT_FALSE(c.ringing.open);
    EXPECT_EQ(c.sound.stops, 1);
    c.reach(7, 10, 0);
    EXPECT_EQ(c.sound.alarms, 2) << "closed is not snoozed";
}

TEST(ClockRinging, ALateAlarmShowsHowLateAndAWindowThatCannotOpenLeavesBalloonAndSound) {
    ClockOnFakes c(withAlarms({{1, "07:00:00", "起床"}}), 6, 50, 0);
    c.ringing.fails = true;
    c.jumpTo(7, 5, 0);
    EXPECT_EQ(c.sound.alarms, 1);
    EXPECT_EQ(c.tray.balloons, 1);
    c.ringing.fails = false;
    c.clock.dismissRinging(); // nothing listed: harmless
    ClockOnFakes late(withAlarms({{1, "07:00:00", "起床"}}), 6, 50, 0);
    late.jumpTo(7, 5, 0);
    ASSERT_EQ(late.ringing.lines.size(), 1u);
    EXPECT_EQ(late.ringing.lines[0].time, L"07:00:00");
    EXPECT_EQ(late.ringing.lines[0].lateness, L"（闹铃时间 07:00:00，晚了 5 分钟）");
}

TEST(ClockSnooze, RingsAgainAfterTheMinutesChosenAndTheTipListsIt) {
    ClockOnFakes c(withAlarms({{1, "07:00:00", "起床"}, {1, "07:00:00", "喝水"}}), 6, 59, 59);
    c.at(7, 0, 0);
    c.clock.snooze(10); // ten minutes from the answer
    EXPECT_EQ(c.sound.stops, 1);
    EXPECT_FALSE(c.ringing.open);
    EXPECT_NE(c.tray.tip.find(L"稍后提醒 07:10 起床\n稍后提醒 07:10 喝水"), std::wstring::npos);
    c.reach(7, 9, 59);
    EXPECT_EQ(c.sound.alarms, 1);
    c.at(7, 10, 0); // both in one balloon, one sound, one window
    EXPECT_EQ(c.sound.alarms, 2);
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：07:10:00\n\n起床\n喝水");
    EXPECT_EQ(c.ringing.lines.size(), 2u);
    EXPECT_EQ(c.tray.tip.find(L"稍后提醒"), std::wstring::npos);
}

TEST(ClockSnooze, AcrossMidnightAndASleepItRingsLateOrIsListedAsMissed) {
    ClockOnFakes c(withAlarms({{1, "23:55:00", "睡觉"}}), 23, 54, 59);
    c.at(23, 55, 0);
    c.clock.snooze(15); // 00:10 tomorrow
    c.time.t.day = 8;
    c.jumpTo(0, 20, 0); // asleep over it: ten minutes late
    EXPECT_EQ(c.sound.alarms, 2);
    EXPECT_EQ(c.ringing.lines.back().lateness, L"（闹铃时间 23:55:00，晚了 10 分钟）");
    c.clock.snooze(5); // 00:25
    c.jumpTo(1, 0, 0);
    EXPECT_EQ(c.sound.alarms, 2);
    EXPECT_EQ(c.tray.balloon, L"00:25:00 睡觉");
}

TEST(ClockSnooze, EndsWhenItsAlarmIsSwitchedOffOrDeleted) {
    ClockOnFakes c(withAlarms({{1, "07:00:00", "a"}, {1, "07:00:00", "b"}, {1, "07:00:00", "c"}}),
                   6, 59, 59);
    c.at(7, 0, 0);
    c.clock.snooze(5);
    const core::AlarmTable before = c.clock.settings().alarms;
    c.clock.settings().alarms.assign({{0, "07:00:00", "a"}, {1, "07:00:00", "c"}}, nullptr);
    c.clock.onAlarmsEdited(before);
    EXPECT_EQ(c.tray.tip.find(L" a"), std::wstring::npos);
    c.reach(7, 5, 0);
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：07:05:00\n\nc");
}

TEST(ClockWakeTimer, AMinuteBeforeTheNextAlarmOrSnoozeAndOnlyWhenAsked) {
    ClockOnFakes off(withAlarms({{1, "07:00:00", "a"}}), 6, 0, 0);
    EXPECT_EQ(off.machine.wakeUtc, -1);
    // Earlier today is tomorrow's; the one still to come today is next.
    ClockOnFakes c(waking({{1, "05:00:00", "a"}, {1, "07:00:00", "b"}, {0, "06:30:00", "off"}}), 6,
                   0, 0);
    c.time.t.utcOffsetSeconds = 8 * 3600;
    c.jumpTo(6, 0, 0);
    EXPECT_EQ(c.machine.wakeUtc, utcOn7th(6, 59, 0));
    c.reach(7, 0, 0); // after it rang: tomorrow's first
    EXPECT_EQ(c.machine.wakeUtc, utcOn7th(5, 0, 0) + core::SecondsPerDay - 60);
    c.clock.snooze(5);
    EXPECT_EQ(c.machine.wakeUtc, utcOn7th(7, 4, 0));
    c.time.set(7, 4, 30); // going to sleep within the minute: the snooze's own second
    c.clock.onSuspending();
    EXPECT_EQ(c.machine.wakeUtc, utcOn7th(7, 5, 0));
    core::setWakeForAlarms(c.clock.settings(), false);
    c.clock.onAlarmsEdited(c.clock.settings().alarms);
    EXPECT_EQ(c.machine.wakeUtc, -1);
}

TEST(ClockWakeTimer, AfterAWakeTheComputerStaysOnWhileTheWindowIsOpenAtMostTenMinutes) {
    ClockOnFakes c(waking({{1, "07:00:00", "a"}, {1, "08:00:00", "b"}}), 6, 59, 0);
    c.clock.onResumed();
    c.reach(7, 0, 0);
    EXPECT_TRUE(c.machine.awake);
    c.at(7, 9, 59);
    EXPECT_TRUE(c.machine.awake);
    c.at(7, 10, 0);
    EXPECT_FALSE(c.machine.awake);
    c.clock.dismissRinging();
    c.reach(8, 0, 0); // no wake before it: the computer sleeps as it would
    EXPECT_FALSE(c.machine.awake);
}

TEST(ClockChime, SkippedWhileTheUserPresentsButAlarmsRing) {
    core::ClockSettings s = withAlarms({{1, "09:30:00", "会议"}});
    ClockOnFakes c(s, 8, 59, 59);
    c.machine.busy = true;
    c.at(9, 0, 0);
    EXPECT_EQ(c.sound.chimes, 0);
    c.reach(9, 30, 0);
    EXPECT_EQ(c.sound.alarms, 1);
    c.machine.busy = false;
    c.reach(10, 0, 0);
    EXPECT_EQ(c.sound.chimes, 1);
}
