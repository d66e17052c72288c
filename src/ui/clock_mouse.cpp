#include "ui/clock_mouse.h"

#include "ui/date_time_settings.h"

namespace ui {

void ClockMouse::onLeftButtonDown(bool lockPosition) {
    // Always switched on, locked or not: a drag shows the whole clock, not an outline.
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    if (!lockPosition)
        SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void ClockMouse::onDoubleClick() {
    openDateTimeSettings();
}

void ClockMouse::onMouseMove() {
    // A hover time of 0 fades in as soon as the pointer rests.
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window_;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

} // namespace ui
