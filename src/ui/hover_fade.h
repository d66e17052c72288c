#pragma once
// The hover fade: a dimmed clock rises to full opacity while the pointer rests on it and sinks
// back when it leaves. The fade redraws in place of the redraw timer, so at most one of the
// redraw and the two fade timers runs at any time; this class is the only one that starts them.
#include <windows.h>

#include "ui/half_second_timer.h"

#include <optional>

namespace ui {

class HoverFade {
public:
    explicit HoverFade(HWND window);

    // The opacity the clock is drawn at: the chosen level, or a step of a running fade.
    int displayedOpacity() const { return displayedOpacity_; }
    // Shows the level of an opacity step at once, also in the middle of a fade.
    void setLevel(int opacityIndex);
    // The regular redraw, at initialisation and after a fade.
    void startRedrawing();
    // Each redraw tick keeps the redraw in step with the wall clock.
    void onRedrawTick();
    void onHover();
    void onLeave(int opacityIndex);
    // One tick of a fade timer: the opacity to draw, or nothing when the fade has just ended
    // and the redraw timer took over again.
    std::optional<int> step(UINT_PTR timerId, int opacityIndex);
    void stopAll();

private:
    void start(UINT_PTR timerId, UINT periodMs);
    void stop(UINT_PTR timerId);
    std::optional<int> finishOrDraw(int nextOpacity, bool finished, UINT_PTR fadeTimer);

    HWND window_;
    HalfSecondTimer redraw_;
    int displayedOpacity_ = 100;
};

} // namespace ui
