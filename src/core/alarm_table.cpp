#include "core/alarm_table.h"

#include <algorithm>

#include "core/byte_io.h"
#include "core/repeat_rule.h"

namespace core {

namespace {

constexpr std::size_t CountSize = 4;
constexpr std::size_t EnabledSize = 4;
constexpr std::size_t TimeOffset = EnabledSize;
constexpr std::size_t ReminderOffset = TimeOffset + AlarmTimeFieldSize;
// The rule takes the time field's last byte; the text and its terminator keep the rest.
constexpr std::size_t RepeatOffset = ReminderOffset - 1;
constexpr std::size_t TimeTextMaxBytes = RepeatOffset - TimeOffset - 1;

static_assert(EnabledSize + AlarmTimeFieldSize + AlarmReminderFieldSize == AlarmEntrySize,
              "entry fields must fill the entry");
static_assert(CountSize + AlarmMaxCount * AlarmEntrySize == AlarmTableSize,
              "entries must fill the table");

bool validIndex(int i) {
    return i >= 0 && i < AlarmMaxCount;
}

} // namespace

AlarmTable::AlarmTable() : bytes_() {}

const std::uint8_t* AlarmTable::entryData(int i) const {
    return bytes_.data() + CountSize + static_cast<std::size_t>(i) * AlarmEntrySize;
}

std::int32_t AlarmTable::storedCount() const {
    return byte_io::readInt32(bytes_.data());
}

int AlarmTable::count() const {
    return static_cast<int>(std::clamp<std::int32_t>(storedCount(), 0, AlarmMaxCount));
}

void AlarmTable::setStoredCount(std::int32_t count) {
    byte_io::writeInt32(bytes_.data(), count);
}

AlarmEntry AlarmTable::entry(int i) const {
    AlarmEntry result;
    if (!validIndex(i)) {
        return result;
    }
    const std::uint8_t* p = entryData(i);
    result.enabled = byte_io::readInt32(p);
    result.time = byte_io::fieldText(p + TimeOffset, AlarmTimeFieldSize);
    result.reminder = byte_io::fieldText(p + ReminderOffset, AlarmReminderFieldSize);
    result.repeat = p[RepeatOffset];
    return result;
}

std::int32_t AlarmTable::enabledAt(int i) const {
    return validIndex(i) ? byte_io::readInt32(entryData(i)) : 0;
}

std::uint8_t AlarmTable::repeatAt(int i) const {
    return validIndex(i) ? entryData(i)[RepeatOffset] : RepeatEveryDay;
}

void AlarmTable::setEnabledAt(int i, std::int32_t enabled) {
    if (validIndex(i)) {
        byte_io::writeInt32(
            bytes_.data() + CountSize + static_cast<std::size_t>(i) * AlarmEntrySize, enabled);
    }
}

bool AlarmTable::timeEquals(int i, const std::string& timeText) const {
    return validIndex(i) &&
           byte_io::fieldText(entryData(i) + TimeOffset, AlarmTimeFieldSize) == timeText;
}

void AlarmTable::assign(const std::vector<AlarmEntry>& rows, LeadBytePredicate isLead) {
    bytes_.fill(0);
    const std::size_t n = std::min<std::size_t>(rows.size(), AlarmMaxCount);
    byte_io::writeInt32(bytes_.data(), static_cast<std::int32_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t* p = bytes_.data() + CountSize + i * AlarmEntrySize;
        byte_io::writeInt32(p, rows[i].enabled);
        byte_io::putText(p + TimeOffset, cutAnsi(rows[i].time, TimeTextMaxBytes, isLead));
        p[RepeatOffset] = normalizedRepeat(rows[i].repeat);
        byte_io::putText(p + ReminderOffset,
                         cutAnsi(rows[i].reminder, AlarmReminderFieldSize - 1, isLead));
    }
}

bool isAlarmDue(const AlarmTable& table, int i, const std::string& timeText) {
    return table.enabledAt(i) == 1 && table.timeEquals(i, timeText);
}

bool isAnyAlarmDue(const AlarmTable& table, const std::string& timeText) {
    for (int i = 0; i < table.count(); ++i) {
        if (isAlarmDue(table, i, timeText)) {
            return true;
        }
    }
    return false;
}

bool operator==(const ShutdownSchedule& a, const ShutdownSchedule& b) {
    return a.shutdownEnabled == b.shutdownEnabled && a.shutdownRepeat == b.shutdownRepeat &&
           a.shutdownTime == b.shutdownTime;
}

bool operator!=(const ShutdownSchedule& a, const ShutdownSchedule& b) {
    return !(a == b);
}

bool isShutdownDue(const ShutdownSchedule& s, const std::string& timeText, bool shutdownPending) {
    return !s.shutdownTime.empty() && s.shutdownTime == timeText && s.shutdownEnabled != 0 &&
           !shutdownPending;
}

} // namespace core
