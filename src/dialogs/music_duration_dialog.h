#pragma once
// How long an alarm sound file plays: 10, 20 or 30 seconds, 1 minute or the whole song. OK
// stores the ticked choice in alarmSoundSeconds; Cancel changes nothing.
#include "core/settings.h"
#include "win/dialog.h"

namespace dialogs {

class MusicDurationDialog : public win::Dialog {
public:
    MusicDurationDialog(HINSTANCE module, core::ClockSettings& settings);

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    core::ClockSettings& settings_;
};

} // namespace dialogs
