#include "app/clock_machine.h"

#include "sound/playback_volume.h"
#include "ui/user_busy.h"

namespace app {

ClockMachine::~ClockMachine() {
    keepAwake(false);
}

bool ClockMachine::soundAudible() {
    return sound::playbackAudible();
}

bool ClockMachine::userBusy() {
    return ui::userBusy();
}

void ClockMachine::keepAwake(bool on) {
    if (on == keptAwake_)
        return;
    keptAwake_ = on;
    // Continuous: the request holds until it is taken back, instead of counting as one input.
    SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED
                               : ES_CONTINUOUS);
}

} // namespace app
