// The alarm-table reader on any bytes as the stored table. The input is a 32-bit index and a time
// text ended by a zero byte, for the due test, then the table's bytes, repeated to fill the table
// when there are fewer (so short inputs reach every entry).
// - count() is the stored count clamped to 0..50;
// - entries 0..49 give texts no longer than their fields, without zero bytes; any other index
//   (negative, 50 on, the int limits, the input's) gives an empty entry that is never due;
// - isAlarmDue(i, text) holds exactly when entry i is enabled with 1 and its time is the text;
// - the round trip of the alarm dialog: the entries 0..count-1 assigned back give a table of the
//   same count holding those entries, texts cut on a character boundary to fit their fields (the
//   time one byte shorter, which holds the repeat rule), rules normalised, and nothing after them;
//   assigning that table's entries once more changes no byte.
// The table has an allocation of its own size, so AddressSanitizer sees any read past its end.
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/alarm_table.h"
#include "core/repeat_rule.h"
#include "fuzz_support.h"

namespace {

using core::AlarmEntry;
using core::AlarmTable;

std::unique_ptr<AlarmTable> tableFrom(const std::uint8_t* data, std::size_t size) {
    auto table = std::make_unique<AlarmTable>();
    if (size > 0) {
        for (std::size_t i = 0; i < core::AlarmTableSize; ++i)
            table->bytes()[i] = data[i % size];
    }
    return table;
}

bool isEmpty(const AlarmEntry& e) {
    return e.enabled == 0 && e.time.empty() && e.reminder.empty() && e.repeat == 0;
}

std::vector<AlarmEntry> rowsOf(const AlarmTable& table) {
    std::vector<AlarmEntry> rows;
    for (int i = 0; i < table.count(); ++i)
        rows.push_back(table.entry(i));
    return rows;
}

void checkEntry(const AlarmTable& table, int i, const std::string& timeText) {
    const AlarmEntry e = table.entry(i);
    fuzz::require(e.enabled == table.enabledAt(i), "enabledAt reads the entry's flag");
    fuzz::require(core::isAlarmDue(table, i, timeText) == (e.enabled == 1 && e.time == timeText),
                  "due when enabled with 1 and the time is the text");
    fuzz::require(table.timeEquals(i, e.time) == (i >= 0 && i < core::AlarmMaxCount),
                  "an entry's own time matches it");
    if (i < 0 || i >= core::AlarmMaxCount) {
        fuzz::require(isEmpty(e), "an index outside the table gives an empty entry");
        return;
    }
    fuzz::require(e.time.size() <= core::AlarmTimeFieldSize &&
                      e.reminder.size() <= core::AlarmReminderFieldSize,
                  "texts never run past their fields");
    fuzz::require(e.time.find('\0') == std::string::npos &&
                      e.reminder.find('\0') == std::string::npos,
                  "texts end at their first zero");
}

void checkRoundTrip(const AlarmTable& table) {
    const std::vector<AlarmEntry> rows = rowsOf(table);
    const auto stored = std::make_unique<AlarmTable>();
    stored->assign(rows, core::isGbkLeadByte);
    fuzz::require(stored->storedCount() == table.count(), "the count of the rows is stored");
    for (int i = 0; i < core::AlarmMaxCount; ++i) {
        const AlarmEntry e = stored->entry(i);
        if (i >= table.count()) {
            fuzz::require(isEmpty(e), "nothing is left after the rows");
            continue;
        }
        const AlarmEntry& row = rows[static_cast<std::size_t>(i)];
        fuzz::require(e.enabled == row.enabled, "the flag is stored as it is");
        fuzz::require(
            e.time == core::cutAnsi(row.time, core::AlarmTimeFieldSize - 2, core::isGbkLeadByte) &&
                e.reminder == core::cutAnsi(row.reminder, core::AlarmReminderFieldSize - 1,
                                            core::isGbkLeadByte),
            "texts are stored cut to their fields");
        fuzz::require(e.repeat == core::normalizedRepeat(row.repeat), "the rule is stored");
    }
    const auto again = std::make_unique<AlarmTable>();
    again->assign(rowsOf(*stored), core::isGbkLeadByte);
    fuzz::require(again->bytes() == stored->bytes(), "a stored table stores as itself");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int index = fuzz::ByteReader(data, size).int32();
    const std::size_t textStart = std::min(size, sizeof(std::int32_t));
    const std::string timeText = fuzz::textsOf(data + textStart, size - textStart, 1)[0];
    const std::size_t tableStart = std::min(size, textStart + timeText.size() + 1);
    const std::unique_ptr<AlarmTable> table = tableFrom(data + tableStart, size - tableStart);

    fuzz::require(table->count() == std::clamp(table->storedCount(), 0, core::AlarmMaxCount),
                  "count is the stored count within 0..50");
    for (const int i :
         {INT_MIN, -1, core::AlarmMaxCount, core::AlarmMaxCount + 1, INT_MAX, index}) {
        checkEntry(*table, i, timeText);
    }
    for (int i = 0; i < core::AlarmMaxCount; ++i) {
        checkEntry(*table, i, timeText);
        checkEntry(*table, i, table->entry(i).time);
    }
    checkRoundTrip(*table);
    return 0;
}
