#include "sound/sounds.h"

#include "resource.h"

#include <mmsystem.h>

namespace sound {

namespace {
void playResource(HMODULE module, int resourceId) {
    PlaySoundW(MAKEINTRESOURCEW(resourceId), module, SND_RESOURCE | SND_ASYNC | SND_NOSTOP);
}
} // namespace

void requestChime(HMODULE module) {
    playResource(module, IDR_WAVE_CHIME);
}

void playBuiltInAlarm(HMODULE module) {
    playResource(module, IDR_WAVE_ALARM);
}

void stopBuiltInSounds() {
    PlaySoundW(nullptr, nullptr, 0);
}

} // namespace sound
