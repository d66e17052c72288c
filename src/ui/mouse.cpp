// Dragging, double clicks and the hover fade of the clock window.
#include "app/clock_window.h"

#include "core/fade.h"

namespace app {

void ClockWindow::onLButtonDown() {
    // Always switched on, locked or not: a drag shows the whole clock, not an outline.
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    if (!settings_.lockPosition)
        SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void ClockWindow::onLButtonDblClk() {
    ui::openDateTimeSettings();
}

void ClockWindow::onMouseMove() {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd();
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

void ClockWindow::onMouseHover() {
    if (!core::fadeInStarts(displayedOpacity_))
        return;
    stopTimer(redrawTimer);
    stopTimer(fadeOutTimer);
    startTimer(fadeInTimer, FadePeriodMs);
}

void ClockWindow::onMouseLeave() {
    if (!core::fadeOutStarts(core::chosenOpacityIndex(settings_.opacityIndex)))
        return;
    stopTimer(redrawTimer);
    stopTimer(fadeInTimer);
    startTimer(fadeOutTimer, FadePeriodMs);
}

void ClockWindow::fadeInStep() {
    applyFadeStep(core::fadeInStep(displayedOpacity_), fadeInTimer);
}

void ClockWindow::fadeOutStep() {
    applyFadeStep(
        core::fadeOutStep(displayedOpacity_, core::chosenOpacityIndex(settings_.opacityIndex)),
        fadeOutTimer);
}

// A fade redraws in place of the redraw timer, and hands back to it when it arrives.
void ClockWindow::applyFadeStep(const core::FadeStepResult& step, UINT_PTR fadeTimer) {
    if (step.finished) {
        stopTimer(fadeTimer);
        startTimer(redrawTimer, RedrawPeriodMs);
        return;
    }
    displayedOpacity_ = step.displayedOpacity;
    renderClock(displayedOpacity_);
}

} // namespace app
