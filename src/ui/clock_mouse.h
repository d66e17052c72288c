#pragma once
// What the mouse does on the clock itself: drag it (unless locked), open the date and time
// settings on a double click, and ask for the hover and leave notifications of the fade.
#include <windows.h>

namespace ui {

class ClockMouse {
public:
    void attach(HWND window) { window_ = window; }

    void onLeftButtonDown(bool lockPosition);
    void onDoubleClick();
    void onMouseMove();

private:
    HWND window_ = nullptr;
};

} // namespace ui
