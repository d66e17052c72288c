#pragma once
// The one place where the user edits the alarms, the automatic shutdown and the alarm sound.
// The alarms are staged in the list and only OK writes them (with the shutdown) back into the
// settings; the sound buttons act at once, and Cancel does not undo them.
#include "controls/bitmap_button.h"
#include "controls/sort_list_control.h"
#include "core/alarm_editing.h"
#include "core/alarm_table.h"
#include "core/settings.h"
#include "core/work_calendar.h"
#include "win/dialog.h"

#include <cstdint>
#include <optional>
#include <vector>
#include <string>

namespace sound {
class AlarmSoundPlayer;
}

namespace dialogs {

class AlarmShutdownDialog : public win::Dialog {
public:
    // The calendar decides whether a rule of China's calendar needs the unknown-year notice.
    AlarmShutdownDialog(HINSTANCE module, core::ClockSettings& settings,
                        sound::AlarmSoundPlayer& player, core::WorkCalendar calendar = {});

protected:
    bool onInitDialog() override;
    bool onButtonClicked(int id) override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(int id, NMHDR& header, LRESULT& result) override;
    void onOK() override;

private:
    void bindControls();
    bool isTypingNewAlarm() const;
    void fillAlarmList();
    void showShutdown();
    void showShutdownTime();
    void showSoundPath();
    void showRuleChoices();
    void showTime(int pickerId, const std::string& timeText);
    void addAlarm();
    void changeAlarm();
    void deleteAlarm();
    void onAlarmListKey(WORD key);
    void onAlarmListChanged(const NMLISTVIEW& change);
    void editRow(int row);
    void showRule(std::uint8_t repeat);
    void onRuleChosen();
    void showRuleNotice();
    std::optional<std::uint8_t> chosenRule();
    // The alarm typed below the list; none when its time or its rule cannot be taken (the user
    // is told about a rule of no days).
    struct TypedAlarm {
        std::string time, reminder;
        std::uint8_t rule;
    };
    std::optional<TypedAlarm> typedAlarm();
    core::RuleChoice shownChoice() const;
    std::vector<std::string> rowTexts(const std::string& time, const std::string& reminder,
                                      std::uint8_t repeat) const;
    void chooseSoundFile();
    void useDefaultSound();
    void playSound();
    void stopSound();
    core::ShutdownSchedule shutdownControls() const;
    std::optional<std::string> pickedTime(int pickerId) const;

    core::ClockSettings& settings_;
    sound::AlarmSoundPlayer& player_;
    const core::WorkCalendar calendar_;
    controls::SortListControl alarmList_;
    controls::BitmapButton chooseButton_;
    controls::BitmapButton playButton_;
    controls::BitmapButton stopButton_;
    // The schedule, and what its controls showed, when the dialog opened.
    core::ShutdownSchedule scheduleAtOpen_;
    core::ShutdownSchedule controlsAtOpen_;
};

} // namespace dialogs
