#include "sound/clock_sounds.h"

#include "sound/sounds.h"

namespace sound {

void ClockSounds::attach(HWND window, HINSTANCE module, const core::ClockSettings& settings) {
    module_ = module;
    settings_ = &settings;
    player_.attach(window, module);
}

void ClockSounds::playAlarm() {
    startAlarmSound(module_, player_, !settings_->alarmSoundPath.empty(),
                    settings_->alarmSoundSeconds);
}

void ClockSounds::playChime() {
    requestChime(module_);
}

void ClockSounds::shutDown() {
    player_.shutDown();
    // The sound thread must not play on while the process ends.
    stopBuiltInSounds();
}

} // namespace sound
