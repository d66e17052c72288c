#include <gtest/gtest.h>

#include <string>

#include "core/alarm_editing.h"

namespace {

// "中" in code page 936.
const std::string Zhong = "\xD6\xD0";

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(AlarmRows, StoredInDisplayOrderWithTicksAsOneOrZero) {
    core::AlarmTable table;
    core::storeAlarmRows(
        table, {{true, "23:00:00", "b"}, {false, "07:00:00", "a"}, {true, "12:00:00", ""}},
        core::isGbkLeadByte);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.entry(0).enabled, 1);
    EXPECT_EQ(table.entry(0).time, "23:00:00");
    EXPECT_EQ(table.entry(1).enabled, 0);
    EXPECT_EQ(table.entry(1).reminder, "a");
    EXPECT_EQ(table.entry(2).enabled, 1);
}

TEST(AlarmRows, ReminderIsCutOnACharacterBoundary) {
    // 200 double-byte characters: the 129th would end at byte 258, past the 257 that fit.
    const std::string fitted = core::fitReminder(repeated(Zhong, 200), core::isGbkLeadByte);
    EXPECT_EQ(fitted, repeated(Zhong, 128));
    EXPECT_EQ(core::fitReminder("a" + repeated(Zhong, 200), core::isGbkLeadByte),
              "a" + repeated(Zhong, 128));

    core::AlarmTable table;
    core::storeAlarmRows(table, {{true, "08:00:00", fitted}}, core::isGbkLeadByte);
    EXPECT_EQ(table.entry(0).reminder, fitted);
}

TEST(RepeatMode, AnyNonZeroModeShowsAsAlwaysAndOnlyZeroOrOneIsStored) {
    EXPECT_EQ(core::repeatChoiceOf(0), core::RepeatOnceChoice);
    EXPECT_EQ(core::repeatChoiceOf(1), core::RepeatAlwaysChoice);
    EXPECT_EQ(core::repeatChoiceOf(2), core::RepeatAlwaysChoice);
    EXPECT_EQ(core::repeatChoiceOf(-1), core::RepeatAlwaysChoice);
    EXPECT_EQ(core::storedRepeatOf(core::RepeatAlwaysChoice), 1);
    EXPECT_EQ(core::storedRepeatOf(core::RepeatOnceChoice), 0);
    EXPECT_EQ(core::storedRepeatOf(-1), 0); // a combo box without a selection
}

TEST(ShutdownOnAccept, ADisarmedOnceScheduleIsNotArmedAgainByUntouchedControls) {
    const core::ShutdownSchedule armed{1, 0, "22:00:00"};
    const core::ShutdownSchedule disarmed{0, 0, ""};
    // Nothing happened meanwhile: the controls are stored, as they show.
    const core::ShutdownSchedule shown{0, 0, "13:14:15"};
    EXPECT_EQ(core::scheduleOnAccept(disarmed, disarmed, shown, shown), shown);
    // The tick disarmed it while the dialog was open; the user did not touch the controls.
    EXPECT_EQ(core::scheduleOnAccept(armed, disarmed, armed, armed), disarmed);
    // The user changed the controls: their schedule is stored.
    const core::ShutdownSchedule later{1, 0, "23:00:00"};
    EXPECT_EQ(core::scheduleOnAccept(armed, disarmed, armed, later), later);
}

} // namespace
