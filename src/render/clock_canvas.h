#pragma once
// The clock's picture on the screen: a frame composed for the time and handed to the window
// manager, but only when it would look different from the one already shown. Between two
// changes (a second, or a minute without the second hand) the half-second redraw costs nothing.
#include <windows.h>

#include "core/clock_time.h"
#include "core/frame_key.h"
#include "render/frame.h"
#include "render/layered_presentation.h"
#include "render/skin_images.h"

namespace render {

class ClockCanvas {
public:
    explicit ClockCanvas(const SkinImages& skin) : skin_(skin) {}

    // False when the user-interface library cannot be loaded.
    bool load() { return presentation_.load(); }
    // Shows the clock at `time`; true when what the window shows is the clock at that time.
    bool show(HWND window, const core::LocalTime& time, float zoom, bool showSecondHand,
              int opacityPercent);
    // The DPI of the monitor the window is on; the next frame takes its scale.
    void setDpi(int dpi) { dpi_ = dpi; }
    int dpi() const { return dpi_; }
    // Nothing is shown after this.
    void release();

    const BLENDFUNCTION& blend() const { return presentation_.blend(); }
    // What the window shows now.
    const core::FrameKey& shown() const { return shown_; }

private:
    const SkinImages& skin_;
    FrameComposer composer_;
    Frame frame_;
    LayeredPresentation presentation_;
    core::FrameKey shown_;
    int dpi_ = core::BaseDpi;
};

} // namespace render
