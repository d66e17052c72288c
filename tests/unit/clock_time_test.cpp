#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/clock_time.h"
#include "core/time_jump.h"

namespace {

using core::momentsToCheck;
using V = std::vector<long long>;

constexpr int At(int h, int m, int s) {
    return h * 3600 + m * 60 + s;
}

TEST(TimeOfDayText, PadsToTwoDigits) {
    EXPECT_EQ(core::timeOfDayText(7, 5, 0), "07:05:00");
    EXPECT_EQ(core::timeOfDayText(23, 59, 59), "23:59:59");
    EXPECT_EQ(core::timeOfDayText(0), "00:00:00");
    EXPECT_EQ(core::timeOfDayText(86399), "23:59:59");
    EXPECT_EQ(core::timeOfDayText(At(12, 34, 56)), "12:34:56");
}

TEST(TimeOfDayText, SecondOfDayOfLocalTime) {
    core::LocalTime t;
    t.hour = 13;
    t.minute = 2;
    t.second = 9;
    EXPECT_EQ(core::secondOfDay(t), At(13, 2, 9));
    EXPECT_EQ(core::timeOfDayText(core::secondOfDay(t)), "13:02:09");
}

TEST(TimeOfDayParse, ReadsOnlyAWholeValidTime) {
    const auto t = core::parseTimeOfDay("23:05:09");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->hour, 23);
    EXPECT_EQ(t->minute, 5);
    EXPECT_EQ(t->second, 9);
    EXPECT_EQ(core::parseTimeOfDay("8:00:00")->hour, 8);
    for (const char* bad : {"", "1", "12:00", "24:00:00", "12:60:00", "12:00:60", "12:0:00",
                            "123:00:00", "12:00:00 ", " 12:00:00", "12-00-00", "-1:00:00"}) {
        EXPECT_FALSE(core::parseTimeOfDay(bad)) << bad;
    }
}

// Moments are local seconds; a day is 86400 of them.
constexpr long long Day = 86400;

TEST(MomentsToCheck, OnTimeAndSameSecondTicksCheckOneSecond) {
    EXPECT_EQ(momentsToCheck(At(8, 0, 0), At(8, 0, 1)), V{At(8, 0, 1)});
    EXPECT_EQ(momentsToCheck(At(8, 0, 0), At(8, 0, 0)), V{At(8, 0, 0)});
}

TEST(MomentsToCheck, LateTickCatchesUpSkippedSecondsAlsoOverMidnight) {
    EXPECT_EQ(momentsToCheck(At(8, 0, 0), At(8, 0, 3)), (V{At(8, 0, 1), At(8, 0, 2), At(8, 0, 3)}));
    EXPECT_EQ(momentsToCheck(At(23, 59, 59), Day + 1), (V{Day, Day + 1}));
    EXPECT_EQ(momentsToCheck(At(23, 59, 58), Day), (V{At(23, 59, 59), Day}));
}

TEST(MomentsToCheck, SixtySecondsIsTheLongestCatchUp) {
    const V sixty = momentsToCheck(At(8, 0, 0), At(8, 1, 0));
    ASSERT_EQ(sixty.size(), 60u);
    EXPECT_EQ(sixty.front(), At(8, 0, 1));
    EXPECT_EQ(sixty.back(), At(8, 1, 0));
    EXPECT_EQ(momentsToCheck(At(8, 0, 0), At(8, 1, 1)), V{At(8, 1, 1)});
    EXPECT_EQ(momentsToCheck(At(8, 0, 0), At(9, 0, 0)), V{At(9, 0, 0)});
}

TEST(MomentsToCheck, ClockSetBackAndFirstTickCheckOnlyNow) {
    EXPECT_EQ(momentsToCheck(At(8, 0, 5), At(8, 0, 4)), V{At(8, 0, 4)});
    EXPECT_EQ(momentsToCheck(Day + At(0, 0, 10), At(23, 59, 50)), V{At(23, 59, 50)});
    EXPECT_EQ(momentsToCheck(-1, At(8, 0, 0)), V{At(8, 0, 0)});
}

TEST(WeekdayText, Characters) {
    EXPECT_EQ(core::weekdayCharacter(0), L"日");
    EXPECT_EQ(core::weekdayCharacter(4), L"四");
    EXPECT_EQ(core::weekdayCharacter(6), L"六");
    EXPECT_EQ(core::weekdayCharacter(7), L"日");
    EXPECT_EQ(core::weekdayCharacter(-1), L"六");
}

TEST(TrayText, DateHasNoLeadingZeros) {
    core::LocalTime t;
    t.year = 2008;
    t.month = 5;
    t.day = 1;
    t.dayOfWeek = 4;
    EXPECT_EQ(core::trayDateText(t), L"2008年5月1日 星期四");
    t.month = 12;
    t.day = 31;
    t.dayOfWeek = 0;
    EXPECT_EQ(core::trayDateText(t), L"2008年12月31日 星期日");
}

TEST(TrayText, TipStartsWithTheProgramName) {
    core::LocalTime t; // 2000-01-01 was a Saturday
    EXPECT_EQ(core::trayTipText(t), L"Veltrano\n\n2000年1月1日 星期六");
    EXPECT_LE(core::trayTipText(t).size(), core::TrayTipMaxUnits);
}

TEST(BalloonText, Layout) {
    EXPECT_EQ(core::alarmBalloonText("07:30:00", L"开会"), L"现在是北京时间：07:30:00\n\n开会");
    EXPECT_LE(std::wstring(core::BalloonTitle).size(), core::BalloonTitleMaxUnits);
}

TEST(BalloonText, SeveralAlarmsOfOneTickShareOneBalloon) {
    EXPECT_EQ(core::alarmBalloonText({{"07:30:00", L"开会"}, {"07:30:00", L"喝水"}}, "07:30:00"),
              L"现在是北京时间：07:30:00\n\n开会\n喝水");
    // A late tick that caught up on two seconds names each alarm's own time.
    EXPECT_EQ(core::alarmBalloonText({{"07:29:59", L"a"}, {"07:30:00", L"b"}}, "07:30:01"),
              L"现在是北京时间：07:30:00\n\n07:29:59 a\n07:30:00 b");
    // One that a jump made late: now, and how late.
    EXPECT_EQ(core::alarmBalloonText({{"07:00:00", L"起床", 300}, {"07:05:00", L"b"}}, "07:05:00"),
              L"现在是北京时间：07:05:00\n\n起床\n（闹铃时间 07:00:00，晚了 5 分钟）\nb");
    EXPECT_EQ(core::withMissedLines(L"x", {L"06:00:00 y"}), L"x\n\n错过的闹铃：\n06:00:00 y");
}

TEST(BalloonText, LongReminderIsCutTo255Units) {
    const std::wstring text = core::alarmBalloonText("07:30:00", std::wstring(400, L'x'));
    EXPECT_EQ(text.size(), core::BalloonTextMaxUnits);
}

TEST(BalloonText, CutDoesNotSplitASurrogatePair) {
    if constexpr (sizeof(wchar_t) == 2) {
        const std::wstring prefix = core::alarmBalloonText("07:30:00", L"");
        // Put a surrogate pair on units 254 and 255 of the finished text.
        std::wstring reminder(core::BalloonTextMaxUnits - 1 - prefix.size(), L'x');
        reminder += static_cast<wchar_t>(0xD83D);
        reminder += static_cast<wchar_t>(0xDD14);
        reminder += L"tail";
        const std::wstring text = core::alarmBalloonText("07:30:00", reminder);
        EXPECT_EQ(text.size(), core::BalloonTextMaxUnits - 1);
        EXPECT_EQ(text.back(), L'x');
    } else {
        GTEST_SKIP() << "wchar_t holds whole code points here";
    }
}

} // namespace
