#pragma once
// The clock's sounds: the built-in chime and alarm, and the user's alarm file cut to its length.
#include <windows.h>

#include "clock/ports.h"
#include "sound/alarm_sound_player.h"

namespace sound {

class ClockSounds : public clockwork::Sound {
public:
    void attach(HWND window, HINSTANCE module, const core::ClockSettings& settings);

    void playAlarm() override;
    void playChime() override;
    // Also hands over to the built-in alarm when a file that started has not moved after a
    // second: a device that takes a file and plays nothing must not leave the alarm silent.
    void limitAlarm(int seconds) override;
    void stopAlarm() override;
    // Ends every sound, so none outlives the clock that started it.
    void shutDown();

    AlarmSoundPlayer& player() { return player_; }

private:
    HINSTANCE module_ = nullptr;
    const core::ClockSettings* settings_ = nullptr;
    AlarmSoundPlayer player_;
    // GetTickCount when the file last started, 0 once its progress was seen.
    DWORD fileStarted_ = 0;
};

} // namespace sound
