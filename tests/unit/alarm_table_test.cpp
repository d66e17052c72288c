#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/alarm_table.h"

namespace {

using core::AlarmEntry;
using core::AlarmTable;

constexpr std::size_t EntryOffset(int i) {
    return 4 + static_cast<std::size_t>(i) * 272;
}

void putCount(AlarmTable& t, std::int32_t count) {
    const auto u = static_cast<std::uint32_t>(count);
    for (int b = 0; b < 4; ++b)
        t.bytes()[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(u >> (8 * b));
}

TEST(AlarmTableLayout, SizesAddUp) {
    EXPECT_EQ(core::AlarmTableSize, 4 + core::AlarmMaxCount * core::AlarmEntrySize);
    EXPECT_EQ(core::AlarmEntrySize, 4 + core::AlarmTimeFieldSize + core::AlarmReminderFieldSize);
}

TEST(AlarmTableLayout, NewTableIsAllZero) {
    const AlarmTable t;
    EXPECT_TRUE(
        std::all_of(t.bytes().begin(), t.bytes().end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(t.count(), 0);
}

TEST(AlarmTableLayout, AssignWritesFieldsAtTheirOffsets) {
    AlarmTable t;
    t.assign({{1, "07:30:00", "wake"}, {0x01020304, "12:00:00", "lunch"}}, core::isGbkLeadByte);
    const auto& b = t.bytes();
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1] | b[2] | b[3], 0);
    EXPECT_EQ(b[EntryOffset(0)], 1);
    EXPECT_EQ(std::memcmp(&b[EntryOffset(0) + 4], "07:30:00\0\0", 10), 0);
    EXPECT_EQ(std::memcmp(&b[EntryOffset(0) + 14], "wake\0", 5), 0);
    EXPECT_EQ(b[EntryOffset(1)], 0x04);
    EXPECT_EQ(b[EntryOffset(1) + 3], 0x01);
    EXPECT_EQ(std::memcmp(&b[EntryOffset(1) + 14], "lunch\0", 6), 0);
}

TEST(AlarmTableLayout, AssignRoundTripsThroughEntry) {
    AlarmTable t;
    const std::string reminder = "\xB3\xD4\xD2\xA9 take medicine"; // GBK text survives untouched
    t.assign({{1, "08:00:00", reminder}, {2, "23:59:59", ""}}, core::isGbkLeadByte);
    const AlarmEntry e0 = t.entry(0);
    EXPECT_EQ(e0.enabled, 1);
    EXPECT_EQ(e0.time, "08:00:00");
    EXPECT_EQ(e0.reminder, reminder);
    EXPECT_EQ(t.entry(1).enabled, 2);
    EXPECT_EQ(t.entry(1).time, "23:59:59");
    EXPECT_EQ(t.entry(1).reminder, "");
}

TEST(AlarmTableLayout, AssignZeroesEverythingPastTheLastEntry) {
    AlarmTable t;
    std::fill(t.bytes().begin(), t.bytes().end(), std::uint8_t{0xAB});
    t.assign({{1, "01:02:03", "x"}}, core::isGbkLeadByte);
    const auto& b = t.bytes();
    EXPECT_EQ(t.storedCount(), 1);
    // Padding inside the written entry, then every later entry.
    EXPECT_TRUE(std::all_of(b.begin() + EntryOffset(0) + 4 + 8, b.begin() + EntryOffset(0) + 14,
                            [](std::uint8_t v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(b.begin() + EntryOffset(0) + 14 + 1, b.end(),
                            [](std::uint8_t v) { return v == 0; }));
}

TEST(AlarmTableLayout, AssignKeepsAtMostFiftyRows) {
    std::vector<AlarmEntry> rows(60, AlarmEntry{1, "10:00:00", "r"});
    rows[49].time = "11:11:11";
    AlarmTable t;
    t.assign(rows, core::isGbkLeadByte);
    EXPECT_EQ(t.storedCount(), 50);
    EXPECT_EQ(t.entry(49).time, "11:11:11");
}

TEST(AlarmTableLayout, AssignCutsOverlongTextsKeepingTheTerminator) {
    AlarmTable t;
    const std::string longReminder(300, 'r');
    // Eight ASCII bytes then a double-byte character that would end at byte 10.
    t.assign({{1, "12345678\xD6\xD0", longReminder}}, core::isGbkLeadByte);
    EXPECT_EQ(t.entry(0).time, "12345678");
    EXPECT_EQ(t.entry(0).reminder, std::string(257, 'r'));
    EXPECT_EQ(t.bytes()[EntryOffset(0) + 14 + 257], 0);
    EXPECT_EQ(t.bytes()[EntryOffset(1)], 0); // nothing spilled into the next entry
}

TEST(AlarmTableCount, ClampsToTheEntries) {
    AlarmTable t;
    putCount(t, -5);
    EXPECT_EQ(t.storedCount(), -5);
    EXPECT_EQ(t.count(), 0);
    putCount(t, 51);
    EXPECT_EQ(t.count(), 50);
    putCount(t, 1000);
    EXPECT_EQ(t.storedCount(), 1000);
    EXPECT_EQ(t.count(), 50);
    putCount(t, 50);
    EXPECT_EQ(t.count(), 50);
}

TEST(AlarmTableFields, UnterminatedTimeStaysInsideItsField) {
    AlarmTable t;
    auto& b = t.bytes();
    // Last entry: the time field is full and the reminder right after it also holds text, so
    // reading past the field would yield a longer string.
    const std::size_t time = EntryOffset(49) + 4;
    std::memcpy(&b[time], "0123456789", 10);
    std::memcpy(&b[time + 10], "ABC", 3);
    EXPECT_EQ(t.entry(49).time, "0123456789");
    EXPECT_TRUE(t.timeEquals(49, "0123456789"));
    EXPECT_FALSE(t.timeEquals(49, "0123456789ABC"));
    EXPECT_FALSE(t.timeEquals(49, "01234567"));
}

TEST(AlarmTableFields, UnterminatedReminderAtTheTableEndStaysInside) {
    AlarmTable t;
    auto& b = t.bytes();
    std::fill(b.begin() + EntryOffset(49) + 14, b.end(), std::uint8_t{'z'});
    EXPECT_EQ(t.entry(49).reminder, std::string(258, 'z'));
}

TEST(AlarmTableFields, OutOfRangeIndexesAreEmpty) {
    AlarmTable t;
    t.assign({{1, "00:00:00", "x"}}, core::isGbkLeadByte);
    EXPECT_EQ(t.enabledAt(-1), 0);
    EXPECT_EQ(t.enabledAt(50), 0);
    EXPECT_FALSE(t.timeEquals(50, ""));
    EXPECT_EQ(t.entry(50).time, "");
}

TEST(AlarmDue, NeedsEnabledExactlyOneAndTheSameText) {
    AlarmTable t;
    t.assign({{0, "07:00:00", ""}, {1, "07:00:00", ""}, {2, "07:00:00", ""}, {-1, "07:00:00", ""}},
             core::isGbkLeadByte);
    EXPECT_FALSE(core::isAlarmDue(t, 0, "07:00:00"));
    EXPECT_TRUE(core::isAlarmDue(t, 1, "07:00:00"));
    EXPECT_FALSE(core::isAlarmDue(t, 2, "07:00:00"));
    EXPECT_FALSE(core::isAlarmDue(t, 3, "07:00:00"));
    EXPECT_FALSE(core::isAlarmDue(t, 1, "07:00:01"));
    EXPECT_FALSE(core::isAlarmDue(t, 1, "7:00:00"));
    EXPECT_TRUE(core::isAnyAlarmDue(t, "07:00:00"));
    EXPECT_FALSE(core::isAnyAlarmDue(t, "07:00:01"));
}

TEST(ShutdownDue, AllConditions) {
    core::ShutdownSchedule s;
    s.shutdownEnabled = 1;
    s.shutdownTime = "22:30:00";
    EXPECT_TRUE(core::isShutdownDue(s, "22:30:00", false));
    EXPECT_FALSE(core::isShutdownDue(s, "22:30:00", true));
    EXPECT_FALSE(core::isShutdownDue(s, "22:30:01", false));
    s.shutdownEnabled = 2; // any non-zero value turns it on
    EXPECT_TRUE(core::isShutdownDue(s, "22:30:00", false));
    s.shutdownEnabled = 0;
    EXPECT_FALSE(core::isShutdownDue(s, "22:30:00", false));
}

TEST(ShutdownDue, EmptyTimeIsNeverDue) {
    core::ShutdownSchedule s;
    s.shutdownEnabled = 1;
    EXPECT_FALSE(core::isShutdownDue(s, "", false));
}

} // namespace
