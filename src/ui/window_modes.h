#pragma once
// How the clock's window modes reach the window: its place in the window order, mouse
// click-through with the extended style it returns to, and where the clock stands.
#include <windows.h>

#include "core/position.h"
#include "core/settings.h"

namespace ui {

class WindowModes {
public:
    void attach(HWND window, core::ClockSettings& settings) {
        window_ = window;
        settings_ = &settings;
    }

    // Above all windows, otherwise at the very bottom of the window order.
    void setTopmost(bool topmost);
    void setClickThrough(bool clickThrough);
    // The end of start-up: a tool window without a taskbar button, moved to its stored place
    // (or the corrected one), whose style click-through returns to is kept before a stored
    // click-through is applied.
    void applyAtStart(const core::SizeAtDpi& sizeAt);

    // The monitors changed: a clock left off all of them comes back by the start-up rule.
    void bringBackOnScreen();
    // The clock took a new size for a new DPI: a locked clock stays at its stored place, any
    // other keeps its centre where `before` had it.
    void placeAfterResize(const RECT& before);

    DWORD savedExStyle() const { return savedExStyle_; }

private:
    void moveToStartPosition(const core::SizeAtDpi& sizeAt);
    void moveTo(int left, int top);
    void setExStyle(DWORD style);
    DWORD exStyle() const;

    HWND window_ = nullptr;
    core::ClockSettings* settings_ = nullptr;
    DWORD savedExStyle_ = 0;
};

} // namespace ui
