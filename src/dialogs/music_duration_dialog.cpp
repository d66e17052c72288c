#include "dialogs/music_duration_dialog.h"

#include "resource.h"

#include <cstdint>

namespace dialogs {

namespace {

struct DurationChoice {
    int button;
    std::int32_t seconds; // 0: the whole song
};

// In the order OK looks at them.
constexpr DurationChoice DurationChoices[] = {{IDC_DURATION_10, 10},
                                              {IDC_DURATION_20, 20},
                                              {IDC_DURATION_30, 30},
                                              {IDC_DURATION_60, 60},
                                              {IDC_DURATION_WHOLE, 0}};
// A value no button stands for (a hand-edited file) shows as the default.
constexpr int DefaultButton = IDC_DURATION_30;

} // namespace

MusicDurationDialog::MusicDurationDialog(HINSTANCE module, core::ClockSettings& settings)
    : Dialog(module, IDD_MUSIC_DURATION), settings_(settings) {}

bool MusicDurationDialog::onInitDialog() {
    int button = DefaultButton;
    for (const DurationChoice& choice : DurationChoices) {
        if (choice.seconds == settings_.alarmSoundSeconds)
            button = choice.button;
    }
    setChecked(button, true);
    return true;
}

void MusicDurationDialog::onOK() {
    for (const DurationChoice& choice : DurationChoices) {
        if (isChecked(choice.button))
            settings_.alarmSoundSeconds = choice.seconds;
    }
    endDialog(IDOK);
}

} // namespace dialogs
