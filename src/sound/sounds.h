#pragma once
// The two built-in sounds. Both play in the background to their end; a request made while
// one of them still plays is refused, so repeated requests within one second sound once.
#include <windows.h>

namespace sound {

void requestChime(HMODULE module);
void playBuiltInAlarm(HMODULE module);
// Ends a built-in sound still playing, so none outlives the clock that started it.
void stopBuiltInSounds();

} // namespace sound
