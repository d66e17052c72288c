#pragma once
// The clock's three window modes: always on top, a locked position and mouse click-through,
// with the extended style that click-through returns to.
#include <windows.h>

#include "core/settings.h"

namespace ui {

class WindowModes {
public:
    WindowModes(HWND window, core::ClockSettings& settings)
        : window_(window), settings_(settings) {}

    // Above all windows when on top, otherwise at the very bottom of the window order.
    void restack();
    // The end of start-up: a tool window without a taskbar button, moved to its stored place
    // (or the corrected one), whose style click-through returns to is kept before a stored
    // click-through is applied.
    void applyAtStart();

    // The monitors changed: a clock left off all of them comes back by the start-up rule.
    void bringBackOnScreen();
    // The clock took a new size for a new DPI: a locked clock stays at its stored place, any
    // other keeps its centre where `before` had it.
    void placeAfterResize(const RECT& before);

    void toggleAlwaysOnTop();
    // Locking and unlocking both record where the clock stands; dragging never does.
    void toggleLockPosition();
    void toggleClickThrough();

    DWORD savedExStyle() const { return savedExStyle_; }

private:
    void moveToStartPosition();
    void moveTo(int left, int top);
    void setExStyle(DWORD style);
    DWORD exStyle() const;

    HWND window_;
    core::ClockSettings& settings_;
    DWORD savedExStyle_ = 0;
};

} // namespace ui
