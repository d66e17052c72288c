#include "core/alarm_editing.h"

namespace core {

void storeAlarmRows(AlarmTable& table, const std::vector<AlarmRow>& rows,
                    LeadBytePredicate isLead) {
    std::vector<AlarmEntry> entries;
    entries.reserve(rows.size());
    for (const AlarmRow& row : rows) {
        entries.push_back({row.ticked ? 1 : 0, row.time, row.reminder});
    }
    table.assign(entries, isLead);
}

std::string fitReminder(const std::string& ansiText, LeadBytePredicate isLead) {
    return cutAnsi(ansiText, AlarmReminderFieldSize - 1, isLead);
}

int repeatChoiceOf(std::int32_t storedRepeat) {
    return storedRepeat != 0 ? RepeatAlwaysChoice : RepeatOnceChoice;
}

std::int32_t storedRepeatOf(int choice) {
    return choice == RepeatAlwaysChoice ? 1 : 0;
}

ShutdownSchedule scheduleOnAccept(const ShutdownSchedule& atOpen, const ShutdownSchedule& current,
                                  const ShutdownSchedule& controlsAtOpen,
                                  const ShutdownSchedule& controls) {
    if (current != atOpen && controls == controlsAtOpen) {
        return current;
    }
    return controls;
}

} // namespace core
