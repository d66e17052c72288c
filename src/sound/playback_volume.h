#pragma once
// Whether the system would let an alarm be heard, asked of the default playback device's own
// volume (Windows Vista on).

namespace sound {

// False when the default playback device is muted or its volume is at nothing; true when that
// cannot be told (Windows XP, no device). COM must be started on the calling thread.
bool playbackAudible();

} // namespace sound
