#include "ui/hover_fade.h"

#include "win/local_time.h"
#include "core/clock_timers.h"
#include "core/fade.h"

namespace ui {

HoverFade::HoverFade(HWND window) : window_(window), redraw_(window, core::RedrawTimer) {}

void HoverFade::setLevel(int opacityIndex) {
    displayedOpacity_ = core::opacityLevel(core::chosenOpacityIndex(opacityIndex));
}

void HoverFade::startRedrawing() {
    redraw_.start(win::currentLocalTime().milliseconds);
}

void HoverFade::onRedrawTick() {
    redraw_.onTick(win::currentLocalTime().milliseconds);
}

void HoverFade::onHover() {
    if (!core::fadeInStarts(displayedOpacity_))
        return;
    redraw_.stop();
    stop(core::FadeOutTimer);
    start(core::FadeInTimer, core::FadePeriodMs);
}

void HoverFade::onLeave(int opacityIndex) {
    if (!core::fadeOutStarts(core::chosenOpacityIndex(opacityIndex)))
        return;
    redraw_.stop();
    stop(core::FadeInTimer);
    start(core::FadeOutTimer, core::FadePeriodMs);
}

std::optional<int> HoverFade::step(UINT_PTR timerId, int opacityIndex) {
    core::FadeStepResult next{displayedOpacity_, true};
    if (timerId == core::FadeInTimer)
        next = core::fadeInStep(displayedOpacity_);
    else if (timerId == core::FadeOutTimer)
        next = core::fadeOutStep(displayedOpacity_, core::chosenOpacityIndex(opacityIndex));
    else
        return std::nullopt;
    return finishOrDraw(next.displayedOpacity, next.finished, timerId);
}

std::optional<int> HoverFade::finishOrDraw(int nextOpacity, bool finished, UINT_PTR fadeTimer) {
    if (finished) {
        stop(fadeTimer);
        startRedrawing();
        return std::nullopt;
    }
    displayedOpacity_ = nextOpacity;
    return displayedOpacity_;
}

void HoverFade::stopAll() {
    redraw_.stop();
    stop(core::FadeInTimer);
    stop(core::FadeOutTimer);
}

void HoverFade::start(UINT_PTR timerId, UINT periodMs) {
    // Starting a running timer restarts it with the new period.
    SetTimer(window_, timerId, periodMs, nullptr);
}

void HoverFade::stop(UINT_PTR timerId) {
    KillTimer(window_, timerId);
}

} // namespace ui
