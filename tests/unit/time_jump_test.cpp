#include <gtest/gtest.h>

#include "core/time_jump.h"

namespace {

using core::TickGap;

constexpr long long Day = 86400;
constexpr long long At(long long h, long long m, long long s) {
    return h * 3600 + m * 60 + s;
}

core::AlarmTable alarmsAt(std::initializer_list<const char*> times) {
    std::vector<core::AlarmEntry> rows;
    for (const char* time : times)
        rows.push_back({1, time, "r"});
    core::AlarmTable table;
    table.assign(rows, [](unsigned char) { return false; });
    return table;
}

struct Jump {
    const char* name;
    long long previous, now;
    TickGap gap;
    std::vector<long long> lateSeconds; // of the 07:00:00 and 02:30:00 alarms in the gap
};

TEST(TimeJump, AlarmsInTheGapOfEachKindOfJump) {
    const core::AlarmTable table = alarmsAt({"07:00:00", "02:30:00"});
    const Jump jumps[] = {
        {"forward 30 s: caught up live", At(6, 59, 45), At(7, 0, 15), TickGap::Live, {}},
        {"forward 5 min", At(6, 58, 0), At(7, 3, 0), TickGap::JumpedForward, {180}},
        {"forward 20 min", At(6, 59, 0), At(7, 19, 0), TickGap::JumpedForward, {1140}},
        {"forward 9 h overnight",
         At(23, 0, 0),
         Day + At(8, 0, 0),
         TickGap::JumpedForward,
         {3600, At(5, 30, 0)}},
        {"back 10 min", At(7, 5, 0), At(6, 55, 0), TickGap::JumpedBack, {}},
        {"daylight saving starts", At(1, 59, 59), At(3, 0, 0), TickGap::JumpedForward, {1800}},
        {"daylight saving ends", At(2, 59, 59), At(2, 0, 0), TickGap::JumpedBack, {}},
        {"days asleep: each alarm once",
         At(6, 0, 0),
         3 * Day + At(7, 1, 0),
         TickGap::JumpedForward,
         {60, At(4, 31, 0)}},
    };
    for (const Jump& jump : jumps) {
        EXPECT_EQ(core::classifyGap(jump.previous, jump.now), jump.gap) << jump.name;
        std::vector<long long> late;
        if (jump.gap == TickGap::JumpedForward)
            for (const core::JumpedAlarm& alarm : core::alarmsInGap(table, jump.previous, jump.now))
                late.push_back(alarm.lateSeconds);
        EXPECT_EQ(late, jump.lateSeconds) << jump.name;
    }
}

TEST(TimeJump, FifteenMinutesLateStillRingsLaterIsMissed) {
    EXPECT_TRUE((core::JumpedAlarm{0, 0, 15 * 60}.late()));
    EXPECT_FALSE((core::JumpedAlarm{0, 0, 15 * 60 + 1}.late()));
    EXPECT_EQ(core::latenessLine("07:00:00", 5 * 60 + 59), L"（闹铃时间 07:00:00，晚了 5 分钟）");
    EXPECT_EQ(core::latenessLine("07:00:00", 45), L"（闹铃时间 07:00:00，晚了 45 秒）");
}

TEST(TimeJump, AShutdownTimeInTheGapIsFoundButNotTheEdges) {
    EXPECT_TRUE(core::fellInGap("23:00:00", At(22, 0, 0), Day + At(6, 0, 0)));
    EXPECT_FALSE(core::fellInGap("23:00:00", At(23, 0, 0), Day + At(6, 0, 0)));
    EXPECT_FALSE(core::fellInGap("23:00:00", At(22, 0, 0), At(23, 0, 0)));
    EXPECT_FALSE(core::fellInGap("", At(22, 0, 0), Day));
}

TEST(TimeJump, AnAlarmRingsOncePerDateAlsoWhenTheClockIsSetBack) {
    core::RungAlarms rung;
    EXPECT_TRUE(rung.firstRing(10, "07:00:00", "r"));
    EXPECT_FALSE(rung.firstRing(10, "07:00:00", "r"));
    EXPECT_TRUE(rung.firstRing(10, "07:00:00", "other"));
    EXPECT_TRUE(rung.firstRing(11, "07:00:00", "r"));
    // Set back from just after midnight: yesterday's alarm does not ring again.
    EXPECT_FALSE(rung.firstRing(10, "07:00:00", "r"));
}

TEST(TimeJump, ChimeOnlyOnALiveFrameEarlyInTheHour) {
    const long long eight = At(8, 0, 0);
    EXPECT_TRUE(core::isChimeDue(eight - 1, eight, 1, false));
    EXPECT_TRUE(core::isChimeDue(eight - 1, eight + 5, 1, false)); // a busy thread
    EXPECT_FALSE(core::isChimeDue(eight - 1, eight + 6, 1, false));
    EXPECT_FALSE(core::isChimeDue(eight, eight + 1, 1, false));        // chimed already
    EXPECT_FALSE(core::isChimeDue(At(0, 30, 0), eight + 1, 1, false)); // slept through the hour
    EXPECT_FALSE(core::isChimeDue(eight - 1, eight, 0, false));
    EXPECT_FALSE(core::isChimeDue(eight - 1, eight, 2, false));
    EXPECT_FALSE(core::isChimeDue(eight - 1, eight, 1, true)); // the alarm takes the sound
    EXPECT_TRUE(core::isChimeDue(-1, eight, 1, false));
    EXPECT_FALSE(core::isChimeDue(-1, eight + 1, 1, false));
    EXPECT_EQ(core::hourStartText(Day + eight + 59), "08:00:00");
}

TEST(TimeJump, LocalSecondsCountCalendarDays) {
    EXPECT_EQ(core::daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(core::daysFromCivil(2000, 3, 1) - core::daysFromCivil(2000, 2, 28), 2);
    EXPECT_EQ(core::daysFromCivil(2100, 3, 1) - core::daysFromCivil(2100, 2, 28), 1);
    core::LocalTime t;
    t.year = 2026, t.month = 12, t.day = 7, t.hour = 8, t.minute = 0, t.second = 1;
    EXPECT_EQ(core::localSeconds(t), core::daysFromCivil(2026, 12, 7) * Day + At(8, 0, 1));
}

TEST(TimeJump, MissedBalloonAndTipListEveryLine) {
    const std::vector<std::wstring> lines = {core::missedAlarmLine("07:00:00", L"起床"),
                                             core::missedShutdownLine("23:00:00")};
    EXPECT_EQ(core::missedBalloonText(lines), L"07:00:00 起床\n自动关机 23:00:00 未执行");
    core::LocalTime t;
    EXPECT_EQ(
        core::trayTipText(t, lines),
        L"Veltrano\n\n2000年1月1日 星期六\n错过的闹铃：\n07:00:00 起床\n自动关机 23:00:00 未执行");
    EXPECT_EQ(core::trayTipText(t, {}), core::trayTipText(t));
    EXPECT_LE(core::trayTipText(t, std::vector<std::wstring>(20, L"07:00:00 很长的提醒")).size(),
              core::TrayTipMaxUnits);
}

} // namespace
