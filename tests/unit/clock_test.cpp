// The clock's behaviour against fakes: alarms, jumps, the chime, the shutdown, the fade, the
// modes and what the tray says, with time stepped and jumped at once.
#include "clock_fakes.h"

#include <gtest/gtest.h>

using fakes::ClockOnFakes;
using fakes::dimmedTo;
using fakes::withAlarms;
using fakes::withShutdown;

TEST(ClockAlarm, DueAlarmPostsItsBalloonAndOthersStaySilent) {
    ClockOnFakes c(withAlarms({{1, "07:30:00", "起床"}, {1, "07:31:00", "later"}}), 7, 29, 59);
    c.at(7, 30, 0);
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：07:30:00\n\n起床");
    EXPECT_EQ(c.tray.title, L"〓〓〓〓〓 提 醒 〓〓〓〓〓：");
    EXPECT_EQ(c.sound.alarms, 1);
    // Firing leaves the entry as it was: it rings again tomorrow.
    EXPECT_EQ(c.clock.settings().alarms.entry(0).enabled, 1);
    c.at(7, 30, 0); // the same second once more: no second ring
    EXPECT_EQ(c.tray.balloons, 1);
}

TEST(ClockAlarm, DisabledAlarmsNeverFire) {
    for (const std::int32_t enabled : {0, 2}) {
        ClockOnFakes c(withAlarms({{enabled, "07:30:00", "off"}}), 7, 29, 59);
        c.at(7, 30, 0);
        EXPECT_EQ(c.tray.balloons, 0) << enabled;
        EXPECT_EQ(c.sound.alarms, 0) << enabled;
    }
}

TEST(ClockAlarm, LateWakeFiresTheAlarmsOfSkippedSecondsInOneBalloon) {
    ClockOnFakes c(withAlarms({{1, "07:30:00", "迟到的闹铃"}, {1, "07:30:01", "b"}}), 7, 29, 58);
    c.at(7, 30, 2); // the thread was busy for four seconds
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：07:30:01\n\n07:30:00 迟到的闹铃\n07:30:01 b");
    EXPECT_EQ(c.sound.alarms, 1);
}

TEST(ClockAlarm, ClockSetBackChecksOnlyTheCurrentSecond) {
    ClockOnFakes c(withAlarms({{1, "08:59:30", "x"}}), 9, 0, 0);
    c.at(8, 59, 0); // the half minute in between is not replayed
    EXPECT_EQ(c.tray.balloons, 0);
}

TEST(ClockAlarm, AJumpRingsWhatIsLateListsWhatIsMissedAndNothingRingsTwice) {
    ClockOnFakes c(withShutdown(0, "06:58:00", {{1, "06:55:00", "a"}, {1, "07:00:00", "b"}}), 6, 50,
                   0);
    c.jumpTo(7, 12, 0); // asleep for 22 minutes, or the clock set forward
    EXPECT_EQ(c.view.frames.back().time.minute, 12) << "the new time at once";
    EXPECT_EQ(c.tray.balloon,
              L"现在是北京时间：07:12:00\n\nb\n（闹铃时间 07:00:00，晚了 12 分钟）\n\n"
              L"错过的闹铃：\n06:55:00 a\n自动关机 06:58:00 未执行");
    EXPECT_EQ(c.countdown.shown, 0);
    // A once-only shutdown that passed unseen is over, as if it had run.
    EXPECT_EQ(c.store.saved().shutdown.shutdownEnabled, 0);
    EXPECT_NE(c.tray.tip.find(L"错过的闹铃：\n06:55:00 a"), std::wstring::npos);
    // Looking at the clock's menu shows the user the clock: the tip forgets the list.
    c.clock.onLookedAt();
    EXPECT_EQ(c.tray.tip.find(L"错过"), std::wstring::npos);
    // Set back over 07:00:00, which already rang today.
    const int balloons = c.tray.balloons;
    c.reach(7, 0, 0);
    EXPECT_EQ(c.tray.balloons, balloons);
}

TEST(ClockAlarm, AJumpOfMoreThanFifteenMinutesOnlyListsTheAlarm) {
    ClockOnFakes c(withAlarms({{1, "07:00:00", "b"}}), 6, 50, 0);
    c.at(7, 15, 1);
    EXPECT_EQ(c.sound.alarms, 0);
    EXPECT_EQ(c.tray.balloon, L"07:00:00 b");
    EXPECT_EQ(c.tray.title, core::MissedTitle);
}

TEST(ClockAlarm, SetBackOverMidnightRingsNothingTwiceOnADateThatAlreadyHadIt) {
    ClockOnFakes c(withAlarms({{1, "23:59:55", "e"}, {1, "00:00:10", "m"}}), 23, 59, 54);
    c.at(23, 59, 55);
    c.time.t.day = 8;
    c.at(0, 0, 10); // a late wake over midnight
    EXPECT_EQ(c.sound.alarms, 2);
    // Set back to yesterday evening: "e" rang on that date; "m" of today has not happened yet.
    c.time.t.day = 7;
    c.at(23, 59, 50);
    c.at(23, 59, 56);
    c.time.t.day = 8;
    c.at(0, 0, 10);
    EXPECT_EQ(c.sound.alarms, 3);
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：00:00:10\n\nm");
}

TEST(ClockAlarm, AMistakenDateCorrectedBackLeavesTomorrowsAlarmToRing) {
    ClockOnFakes c(withAlarms({{1, "07:45:00", "起床"}}), 7, 50, 0);
    c.time.t.day = 8; // set a day ahead by mistake: the 07:45 alarm rings late on that date
    c.clock.onTimeChanged();
    EXPECT_EQ(c.sound.alarms, 1);
    c.time.t.day = 7; // corrected
    c.clock.onTimeChanged();
    c.time.t.day = 8;
    c.reach(7, 45, 0);
    EXPECT_EQ(c.sound.alarms, 2);
}

TEST(ClockAlarm, AnAlarmThatRangIsNotMissedAfterASetBackAndTheTipListsEachLineOnce) {
    ClockOnFakes c(withAlarms({{1, "08:00:00", "a"}, {1, "06:00:00", "b"}}), 7, 59, 59);
    c.at(8, 0, 0);
    c.at(5, 0, 0);
    c.jumpTo(9, 0, 0);
    EXPECT_EQ(c.tray.tip.find(L"08:00:00"), std::wstring::npos) << c.tray.tip;
    EXPECT_NE(c.tray.tip.find(L"\n06:00:00 b"), std::wstring::npos);
    c.at(5, 0, 0);
    c.jumpTo(9, 0, 0);
    EXPECT_EQ(c.tray.tip.find(L"06:00:00 b"), c.tray.tip.rfind(L"06:00:00 b"));
    // The next day the line carries its date.
    c.time.t.day = 8;
    c.clock.onTrayPointed();
    EXPECT_NE(c.tray.tip.find(L"\n12月7日 06:00:00 b"), std::wstring::npos) << c.tray.tip;
}

TEST(ClockAlarm, TheTipKeepsTheNewestMissedLines) {
    std::vector<core::AlarmEntry> rows;
    for (int hour = 1; hour <= 8; ++hour)
        rows.push_back({1, core::timeOfDayText(hour, 0, 0), "reminder " + std::to_string(hour)});
    ClockOnFakes c(withAlarms(rows), 0, 30, 0);
    c.at(8, 30, 0);
    EXPECT_NE(c.tray.tip.find(L"08:00:00 reminder 8"), std::wstring::npos) << c.tray.tip;
    EXPECT_EQ(c.tray.tip.find(L"01:00:00"), std::wstring::npos);
}

TEST(ClockDaylightSaving, TheSkippedHourRingsAtOnceOnTimeAndChimes) {
    ClockOnFakes c(withShutdown(1, "02:45:00", {{1, "02:30:00", "半夜"}}), 1, 59, 59);
    c.time.t.utcOffsetSeconds = 3600; // spring forward: one second later it is 03:00:00
    c.at(3, 0, 0);
    EXPECT_EQ(c.tray.balloon, L"现在是北京时间：03:00:00\n\n半夜");
    EXPECT_EQ(c.tray.tip.find(L"错过"), std::wstring::npos);
    EXPECT_EQ(c.sound.chimes, 1);
    EXPECT_EQ(c.countdown.shown, 1);
}

TEST(ClockDaylightSaving, TheRepeatedHourRingsChimesAndShutsDownNothingTwice) {
    ClockOnFakes c(withShutdown(1, "02:40:00", {{1, "02:30:00", "once"}}), 1, 59, 59);
    c.time.t.utcOffsetSeconds = 3600;
    c.at(2, 0, 0);
    for (const int minute : {30, 40})
        c.reach(2, minute, 0);
    c.at(2, 59, 59);
    c.time.t.utcOffsetSeconds = 0; // fall back: 03:00:00 summer time is 02:00:00 again
    for (const int minute : {0, 30, 40}) {
        c.at(2, minute, 0);
        c.at(2, minute, 1);
    }
    EXPECT_EQ(c.sound.alarms, 1);
    EXPECT_EQ(c.sound.chimes, 1);
    EXPECT_EQ(c.countdown.shown, 1);
}

TEST(ClockChime, SoundsOnceWhenTheClockIsSetBackJustAfterTheHour) {
    ClockOnFakes c({}, 7, 59, 59);
    c.at(8, 0, 0);
    c.at(8, 0, 3);
    c.at(7, 59, 58);
    c.at(7, 59, 59);
    c.at(8, 0, 0);
    EXPECT_EQ(c.sound.chimes, 1);
}

TEST(ClockChime, SoundsAtTheFullHourOnlyWhenOnAndReachedLive) {
    ClockOnFakes c({}, 10, 59, 59);
    c.at(11, 0, 0);
    EXPECT_EQ(c.sound.chimes, 1);
    c.at(11, 0, 1);
    c.at(11, 1, 0);
    EXPECT_EQ(c.sound.chimes, 1);
    for (const std::int32_t setting : {0, 2}) {
        c.clock.settings().hourlyChime = setting;
        c.reach(12, 0, 0);
        EXPECT_EQ(c.sound.chimes, 1) << setting;
    }
    // An hour that came while the computer slept.
    c.clock.settings().hourlyChime = 1;
    c.at(12, 30, 0);
    c.at(13, 0, 1);
    EXPECT_EQ(c.sound.chimes, 1);
}

TEST(ClockChime, YieldsToAnAlarmAtTheFullHour) {
    ClockOnFakes c(withAlarms({{1, "11:00:00", "on the hour"}}), 10, 59, 59);
    c.at(11, 0, 0);
    EXPECT_EQ(c.sound.chimes, 0);
    EXPECT_EQ(c.sound.alarms, 1);
}

class ClockShutdownCancel : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(ClockShutdownCancel, ClearsPendingAndDisarmsOnlyAOnceSchedule) {
    ClockOnFakes c(withShutdown(GetParam(), "22:00:00"), 21, 59, 59);
    bool pendingInside = false;
    c.countdown.meanwhile = [&] { pendingInside = c.clock.shutdownPending(); };
    c.view.topmost.clear();
    c.at(22, 0, 0);
    EXPECT_EQ(c.countdown.shown, 1);
    EXPECT_TRUE(pendingInside);
    EXPECT_FALSE(c.clock.shutdownPending());
    // Raised above all windows for the countdown, back to the bottom after it.
    EXPECT_EQ(c.view.topmost, (std::vector<bool>{true, false}));
    const bool armed = GetParam() != 0;
    for (const core::ShutdownSchedule& s :
         {c.clock.settings().shutdown, c.store.saved().shutdown}) {
        EXPECT_EQ(s.shutdownEnabled, armed ? 1 : 0);
        EXPECT_EQ(s.shutdownTime, armed ? "22:00:00" : "");
    }
}

// 0: once, 1: every day.
INSTANTIATE_TEST_SUITE_P(Schedules, ClockShutdownCancel, ::testing::Values(0, 1));

TEST(ClockShutdown, ACancelledDailyShutdownDoesNotComeAgainWhenTheClockIsSetBack) {
    ClockOnFakes c(withShutdown(1, "22:00:00"), 21, 59, 59);
    c.at(22, 0, 0);
    c.reach(22, 0, 0);
    EXPECT_EQ(c.countdown.shown, 1);
    c.time.t.day = 8;
    c.reach(22, 0, 0);
    EXPECT_EQ(c.countdown.shown, 2) << "a daily one comes again the next day";
}

TEST(ClockShutdown, ACountdownShowingWhenTheComputerSleptEndsOnWakingAndIsListed) {
    for (const bool resumeMessage : {false, true}) {
        ClockOnFakes c(withShutdown(1, "23:00:00"), 22, 59, 59);
        c.countdown.meanwhile = [&] {
            c.at(23, 0, 5);
            c.time.t.day = 8; // the lid closed, opened the next morning
            c.time.set(7, 30, 0);
            resumeMessage ? c.clock.onResumed() : c.clock.onWake();
        };
        c.at(23, 0, 0);
        EXPECT_FALSE(c.clock.shutdownPending()) << resumeMessage;
        EXPECT_NE(c.tray.tip.find(L"12月7日 自动关机 23:00:00 未执行"), std::wstring::npos)
            << c.tray.tip;
        EXPECT_EQ(c.clock.settings().shutdown.shutdownEnabled, 1) << "a daily one stays";
    }
}

TEST(ClockShutdown, NestedWakeDuringTheCountdownFiresAlarmsButNoSecondCountdown) {
    ClockOnFakes c(withShutdown(1, "22:00:00", {{1, "22:00:00", "关机前"}}), 21, 59, 59);
    std::wstring balloonInside;
    c.countdown.meanwhile = [&] {
        c.clock.onWake(); // the clock is woken again inside the countdown's loop
        balloonInside = c.tray.balloon;
    };
    c.at(22, 0, 0);
    EXPECT_EQ(c.countdown.shown, 1);
    EXPECT_EQ(balloonInside, L"现在是北京时间：22:00:00\n\n关机前");
}

TEST(ClockShutdown, ARefusedShutdownIsToldAndARequestedOneStaysPending) {
    ClockOnFakes c(withShutdown(1, "22:00:00"), 21, 59, 59);
    c.countdown.end = clockwork::CountdownEnd::Refused;
    c.at(22, 0, 0);
    EXPECT_EQ(c.view.told, (std::vector<std::wstring>{clockwork::ShutdownRefusedMessage}));
    EXPECT_FALSE(c.clock.shutdownPending());
    c.countdown.end = clockwork::CountdownEnd::ShutDown;
    for (const int day : {8, 9}) {
        c.time.t.day = day;
        c.reach(22, 0, 0);
        EXPECT_TRUE(c.clock.shutdownPending()) << day;
    }
    EXPECT_EQ(c.countdown.shown, 2) << "no second countdown while the system goes down";
}

TEST(ClockFrames, NoneWhileTheDisplayIsOffOrTheSessionLocked) {
    ClockOnFakes c({}, 9, 0, 0);
    for (int way = 0; way < 2; ++way) {
        const auto hide = [&](bool hidden) {
            way == 0 ? c.clock.setDisplayOn(!hidden) : c.clock.setSessionLocked(hidden);
        };
        hide(true);
        const std::size_t before = c.view.frames.size();
        c.at(9, 0, 5 + way);
        EXPECT_EQ(c.view.frames.size(), before) << way;
        c.time.set(9, 0, 10 + way);
        // Seen again: the time of now at once, without waiting for a wake.
        hide(false);
        ASSERT_EQ(c.view.frames.size(), before + 1) << way;
        EXPECT_EQ(c.view.frames.back().time.second, 10 + way);
    }
}

TEST(ClockWake, OnceASecondJustAfterItAndEveryFadeStepWhileFading) {
    ClockOnFakes c(dimmedTo(4));
    c.time.t.milliseconds = 995; // a little early for its second
    c.clock.onWake();
    EXPECT_EQ(c.view.wakes.back(), 15u);
    c.time.t.milliseconds = 10;
    c.clock.onWake();
    EXPECT_EQ(c.view.wakes.back(), 1000u);
    c.clock.onHover();
    EXPECT_EQ(c.view.wakes.back(), core::FadePeriodMs);
}

TEST(ClockFade, FromTwentyToFullTakesEightStepsAndOneMoreWake) {
    ClockOnFakes c(dimmedTo(4));
    EXPECT_EQ(c.view.frames.back().opacityPercent, 20);
    c.clock.onHover();
    for (int step = 1; step <= 8; ++step) {
        c.clock.onWake();
        EXPECT_EQ(c.view.frames.back().opacityPercent, 20 + 10 * step);
        EXPECT_EQ(c.view.wakes.back(), core::FadePeriodMs);
    }
    c.clock.onWake();
    EXPECT_EQ(c.clock.displayedOpacity(), 100);
    EXPECT_EQ(c.view.wakes.back(), core::millisecondsToNextSecond(c.time.t.milliseconds));
}

TEST(ClockFade, LeavingMidFadeTurnsBackFromTheValueReached) {
    ClockOnFakes c(dimmedTo(4));
    c.clock.onHover();
    for (int step = 0; step < 3; ++step)
        c.clock.onWake();
    ASSERT_EQ(c.clock.displayedOpacity(), 50);
    c.clock.onLeave();
    c.clock.onWake();
    EXPECT_EQ(c.clock.displayedOpacity(), 40);
    c.clock.onHover();
    c.clock.onWake();
    EXPECT_EQ(c.clock.displayedOpacity(), 50);
}

TEST(ClockFade, AtFullOpacityHoverAndLeaveChangeNothing) {
    ClockOnFakes c;
    const std::size_t wakes = c.view.wakes.size();
    c.clock.onHover();
    c.clock.onLeave();
    EXPECT_EQ(c.view.wakes.size(), wakes);
    EXPECT_EQ(c.clock.displayedOpacity(), 100);
}

TEST(ClockCommands, StyleAndOpacityApplyAndSave) {
    ClockOnFakes c;
    c.clock.chooseStyle(1);
    EXPECT_EQ(c.store.saved().styleIndex, 1);
    c.clock.chooseOpacity(4);
    EXPECT_EQ(c.store.saved().opacityIndex, 4);
    EXPECT_EQ(c.clock.displayedOpacity(), 20);
    EXPECT_EQ(c.view.frames.back().opacityPercent, 20);
}

TEST(ClockCommands, ALookThatCannotBeShownFallsBackToTheFirstAndIsSaved) {
    core::ClockSettings settings;
    settings.styleIndex = 77;
    ClockOnFakes c(settings, 9, 0, 0, 0);
    EXPECT_EQ(c.clock.settings().styleIndex, 0);
    EXPECT_EQ(c.store.saved().styleIndex, 0);
}

TEST(ClockModes, LockRecordsThePlaceAndDraggingNeverDoes) {
    ClockOnFakes c;
    c.view.at = {300, 200};
    c.clock.save();
    EXPECT_EQ(c.store.saved().windowLeft, -1); // a move is not a recorded place
    c.clock.toggleLockPosition();
    EXPECT_EQ(c.store.saved().lockPosition, 1);
    EXPECT_EQ(c.store.saved().windowLeft, 300);
    EXPECT_EQ(c.store.saved().windowTop, 200);
    c.view.at = {310, 220};
    c.clock.toggleLockPosition(); // unlocking records too
    EXPECT_EQ(c.store.saved().lockPosition, 0);
    EXPECT_EQ(c.store.saved().windowLeft, 310);
}

TEST(ClockModes, OnTopAndClickThroughReachTheWindowAndAreSaved) {
    ClockOnFakes c;
    c.clock.toggleAlwaysOnTop();
    EXPECT_TRUE(c.view.topmost.back());
    EXPECT_EQ(c.store.saved().alwaysOnTop, 1);
    c.clock.toggleAlwaysOnTop();
    EXPECT_FALSE(c.view.topmost.back());
    EXPECT_EQ(c.store.saved().alwaysOnTop, 0);
    c.clock.toggleClickThrough();
    EXPECT_TRUE(c.view.clickThrough);
    EXPECT_EQ(c.store.saved().clickThrough, 1);
}

TEST(ClockSettings, FailedSaveIsReportedOnceUntilASaveSucceeds) {
    fakes::ClockOnFakes c;
    c.store.fails = true;
    c.clock.save();
    EXPECT_EQ(c.tray.balloon,
              L"设置无法保存到\nC:\\clock\\Settings.def\n时钟照常运行，设置保留在内存中。");
    const int reported = c.tray.balloons;
    c.clock.toggleAlwaysOnTop(); // fails again: no second report
    EXPECT_EQ(c.tray.balloons, reported);
    c.store.fails = false;
    c.clock.toggleAlwaysOnTop(); // succeeds
    c.store.fails = true;
    c.clock.toggleAlwaysOnTop(); // fails after a success: reported again
    EXPECT_EQ(c.tray.balloons, reported + 1);
}

TEST(ClockTray, TipShowsTheDateAndIsRefreshedOnlyByPointing) {
    ClockOnFakes c;
    EXPECT_EQ(c.clock.trayTip(), L"Veltrano\n\n2026年12月7日 星期一");
    c.time.t = {2027, 1, 3, 0, 9, 0, 0, 10};
    c.clock.onWake();
    EXPECT_EQ(c.tray.tip, L"");
    c.clock.onTrayPointed();
    EXPECT_EQ(c.tray.tip, L"Veltrano\n\n2027年1月3日 星期日");
}
