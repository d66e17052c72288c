#include "core/alarm_editing.h"

#include "core/repeat_rule.h"

namespace core {

void storeAlarmRows(AlarmTable& table, const std::vector<AlarmRow>& rows,
                    LeadBytePredicate isLead) {
    std::vector<AlarmEntry> entries;
    entries.reserve(rows.size());
    for (const AlarmRow& row : rows) {
        entries.push_back({row.ticked ? 1 : 0, row.time, row.reminder, row.repeat});
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

namespace {

// The rule of each choice but the choice of days, in the order of RuleChoice.
constexpr std::uint8_t RuleOfChoice[] = {RepeatEveryDay,      RepeatMondayToFriday,
                                         RepeatChinaWorkdays, RepeatChinaRestDays,
                                         RepeatWeekend,       RepeatOnce};
static_assert(sizeof(RuleOfChoice) == RuleChoiceCount - 1, "a rule for every fixed choice");

} // namespace

std::wstring ruleChoiceText(RuleChoice choice) {
    if (choice == RuleChoice::ChosenDays) {
        return L"自定义";
    }
    return repeatText(RuleOfChoice[static_cast<int>(choice)]);
}

RuleChoice ruleChoiceOf(std::uint8_t repeat) {
    const std::uint8_t rule = normalizedRepeat(repeat);
    for (int choice = 0; choice < RuleChoiceCount - 1; ++choice) {
        if (RuleOfChoice[choice] == rule) {
            return static_cast<RuleChoice>(choice);
        }
    }
    return chosenDays(rule) ? RuleChoice::ChosenDays : RuleChoice::EveryDay;
}

std::uint8_t daysOfRule(std::uint8_t repeat) {
    switch (repeat) {
    case RepeatChinaWorkdays: return RepeatMondayToFriday;
    case RepeatChinaRestDays: return RepeatWeekend;
    default: return chosenDays(repeat).value_or(RepeatDayBits);
    }
}

std::optional<std::uint8_t> ruleOfChoice(RuleChoice choice, std::uint8_t tickedDays) {
    if (choice != RuleChoice::ChosenDays) {
        return RuleOfChoice[static_cast<int>(choice)];
    }
    const std::uint8_t days = tickedDays & RepeatDayBits;
    return days != 0 ? std::optional<std::uint8_t>(normalizedRepeat(days)) : std::nullopt;
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
