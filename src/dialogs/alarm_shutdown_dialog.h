#pragma once
// The one place where the user edits the alarms, the automatic shutdown and the alarm sound.
// The alarms are staged in the list and only OK writes them (with the shutdown) back into the
// settings; the sound buttons act at once, and Cancel does not undo them.
#include "controls/bitmap_button.h"
#include "controls/sort_list_control.h"
#include "core/alarm_table.h"
#include "core/settings.h"
#include "win/dialog.h"

#include <optional>
#include <string>

namespace sound {
class AlarmSoundPlayer;
}

namespace dialogs {

class AlarmShutdownDialog : public win::Dialog {
public:
    AlarmShutdownDialog(HINSTANCE module, core::ClockSettings& settings,
                        sound::AlarmSoundPlayer& player);

protected:
    bool onInitDialog() override;
    bool onButtonClicked(int id) override;
    bool onNotify(int id, NMHDR& header, LRESULT& result) override;
    void onOK() override;

private:
    void bindControls();
    bool isTypingNewAlarm() const;
    void fillAlarmList();
    void showShutdown();
    void showShutdownTime();
    void showSoundPath();
    void addAlarm();
    void deleteAlarm();
    void onAlarmListKey(WORD key);
    void chooseSoundFile();
    void useDefaultSound();
    void playSound();
    void stopSound();
    core::ShutdownSchedule shutdownControls() const;
    std::optional<std::string> pickedTime(int pickerId) const;

    core::ClockSettings& settings_;
    sound::AlarmSoundPlayer& player_;
    controls::SortListControl alarmList_;
    controls::BitmapButton chooseButton_;
    controls::BitmapButton playButton_;
    controls::BitmapButton stopButton_;
    // The schedule, and what its controls showed, when the dialog opened.
    core::ShutdownSchedule scheduleAtOpen_;
    core::ShutdownSchedule controlsAtOpen_;
};

} // namespace dialogs
