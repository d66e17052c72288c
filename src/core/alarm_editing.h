#pragma once
// The rules of the alarm and shutdown dialog that need no window: how its list becomes the
// table, how a reminder is kept within its field, and what OK stores for the shutdown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/alarm_table.h"
#include "core/codepage.h"

namespace core {

// One row of the alarm list as it shows: its check box, its time, its reminder (ANSI bytes) and
// its repeat rule.
struct AlarmRow {
    bool ticked = false;
    std::string time;
    std::string reminder;
    std::uint8_t repeat = 0;
};

// Replaces the whole table with the rows in display order: a ticked row is on (1), any other
// off (0); at most 50 rows, texts cut on a character boundary, everything after them zero.
void storeAlarmRows(AlarmTable& table, const std::vector<AlarmRow>& rows, LeadBytePredicate isLead);

// A reminder as the table holds it: at most 257 bytes, cut on a character boundary. The row
// shows this text, so what the user sees is what is stored.
std::string fitReminder(const std::string& ansiText, LeadBytePredicate isLead);

// The repeat combo box: item 0 "一次" (once), item 1 "总是" (always). The tick treats any
// non-zero stored mode as "always", so the box shows it that way; OK stores only 0 or 1.
constexpr int RepeatOnceChoice = 0;
constexpr int RepeatAlwaysChoice = 1;
int repeatChoiceOf(std::int32_t storedRepeat);
std::int32_t storedRepeatOf(int choice);

// The repeat rules the dialog offers, in the order of its list. A choice of days is made with
// one check box per day of the week.
enum class RuleChoice {
    EveryDay,
    MondayToFriday,
    ChinaWorkdays,
    ChinaRestDays,
    Weekend,
    Once,
    ChosenDays
};
constexpr int RuleChoiceCount = 7;
std::wstring ruleChoiceText(RuleChoice choice);
// A rule the dialog does not know is shown as every day, which is how it rings.
RuleChoice ruleChoiceOf(std::uint8_t repeat);
// The days ticked while a rule is shown, so that turning to a choice of days starts from them.
std::uint8_t daysOfRule(std::uint8_t repeat);
// The rule stored for a choice; for a choice of days, the ticked days (bit 0 Monday), none when
// no day is ticked.
std::optional<std::uint8_t> ruleOfChoice(RuleChoice choice, std::uint8_t tickedDays);

// The schedule OK stores. Normally what the shutdown controls say; but when the schedule changed
// while the dialog was open (the tick disarms a once-only shutdown that came due) and the user
// left the controls as they were, the changed schedule stays, so OK does not arm it again.
ShutdownSchedule scheduleOnAccept(const ShutdownSchedule& atOpen, const ShutdownSchedule& current,
                                  const ShutdownSchedule& controlsAtOpen,
                                  const ShutdownSchedule& controls);

} // namespace core
