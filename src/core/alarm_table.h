#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/codepage.h"

namespace core {

constexpr int AlarmMaxCount = 50;
constexpr std::size_t AlarmEntrySize = 272, AlarmTableSize = 13604, AlarmTimeFieldSize = 10,
                      AlarmReminderFieldSize = 258;

// Decoded view of one 272-byte entry: enabled (int32), time (10 bytes), reminder (258 bytes).
// The last byte of the time field, after the text's terminator, holds the repeat rule
// (core/repeat_rule.h); files that predate it hold 0 there, every day.
struct AlarmEntry {
    std::int32_t enabled = 0;
    std::string time;
    std::string reminder;
    std::uint8_t repeat = 0;
};

// The alarm block exactly as stored: a little-endian count followed by 50 entries. The bytes are
// kept raw so that whatever the file holds is written back unchanged.
class AlarmTable {
public:
    AlarmTable();

    std::int32_t storedCount() const;
    // storedCount clamped to 0..50, so a damaged count never leads past the entries.
    int count() const;
    // Entries are addressed 0..49 regardless of count; other indexes give an empty entry.
    AlarmEntry entry(int i) const;
    std::int32_t enabledAt(int i) const;
    std::uint8_t repeatAt(int i) const;
    // Turns one entry on or off and leaves every other byte as it is (a once-alarm that rang).
    void setEnabledAt(int i, std::int32_t enabled);
    bool timeEquals(int i, const std::string& timeText) const;

    // Replaces the whole table: everything zeroed, at most 50 rows written in order, texts cut on
    // a character boundary so each field keeps its terminator (the time also keeps the rule's
    // byte after it), rules normalised.
    void assign(const std::vector<AlarmEntry>& rows, LeadBytePredicate isLead);

    // The count field as it is stored, also a damaged one (for tools that build test files).
    void setStoredCount(std::int32_t count);

    const std::array<std::uint8_t, AlarmTableSize>& bytes() const { return bytes_; }
    std::array<std::uint8_t, AlarmTableSize>& bytes() { return bytes_; }

private:
    const std::uint8_t* entryData(int i) const;

    std::array<std::uint8_t, AlarmTableSize> bytes_;
};

bool isAlarmDue(const AlarmTable& table, int i, const std::string& timeText);
bool isAnyAlarmDue(const AlarmTable& table, const std::string& timeText);

struct ShutdownSchedule {
    std::int32_t shutdownEnabled = 0;
    std::int32_t shutdownRepeat = 0;
    std::string shutdownTime;
};
bool operator==(const ShutdownSchedule& a, const ShutdownSchedule& b);
bool operator!=(const ShutdownSchedule& a, const ShutdownSchedule& b);

// Due when the time text matches, the schedule is on and no shutdown is already pending.
bool isShutdownDue(const ShutdownSchedule& s, const std::string& timeText, bool shutdownPending);

} // namespace core
