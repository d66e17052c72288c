#pragma once
// A window timer that fires twice a second, just after each full and half second of the wall
// clock, whatever the phase it was started with and however it drifts.
#include <windows.h>

namespace ui {

class HalfSecondTimer {
public:
    HalfSecondTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}

    // `millisecond`: of the current second, as the clock reads it.
    void start(int millisecond);
    // Each tick: left alone while in step, re-armed when it is not.
    void onTick(int millisecond);
    void stop();

private:
    void arm(UINT delay);

    HWND window_;
    UINT_PTR id_;
    UINT armedDelay_ = 0;
};

} // namespace ui
