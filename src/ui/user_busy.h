#pragma once
// Whether the user is in the middle of something that an alarm should not push a window in
// front of, as the shell tells it (Windows Vista on).

namespace ui {

// A full-screen program (a game, a video), a presentation, or the system's quiet time; false
// when the shell cannot tell (Windows XP).
bool userBusy();

} // namespace ui
