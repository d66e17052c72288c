#include "sound/clock_sounds.h"

#include "sound/sounds.h"

namespace sound {

void ClockSounds::attach(HWND window, HINSTANCE module, const core::ClockSettings& settings) {
    module_ = module;
    settings_ = &settings;
    player_.attach(window, module);
}

namespace {
constexpr DWORD ProgressWithinMs = 1000;
} // namespace

void ClockSounds::playAlarm() {
    const bool wasPlaying = player_.isPlaying();
    startAlarmSound(module_, player_, !settings_->alarmSoundPath.empty(),
                    settings_->alarmSoundSeconds);
    if (!wasPlaying && player_.isPlaying())
        fileStarted_ = GetTickCount() | 1; // never 0 while waiting
}

void ClockSounds::limitAlarm(int seconds) {
    player_.applyTimeLimit(seconds);
    if (!fileStarted_ || GetTickCount() - fileStarted_ < ProgressWithinMs)
        return;
    fileStarted_ = 0;
    if (player_.isPlaying() && player_.getPosition() == 0) {
        player_.stop();
        playBuiltInAlarm(module_);
    }
}

void ClockSounds::playChime() {
    requestChime(module_);
}

void ClockSounds::stopAlarm() {
    fileStarted_ = 0; // no hand-over to the built-in alarm after the user silenced it
    if (player_.isPlaying())
        player_.stop();
    stopBuiltInSounds();
}

void ClockSounds::shutDown() {
    player_.shutDown();
    // The sound thread must not play on while the process ends.
    stopBuiltInSounds();
}

} // namespace sound
