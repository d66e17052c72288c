#pragma once
// The clock's window as the clock sees it: the look's images composed into frames for the
// layered window, the window modes, the one wake timer and the message boxes.
#include <windows.h>

#include <optional>

#include "clock/ports.h"
#include "render/clock_canvas.h"
#include "render/skin_images.h"
#include "ui/window_modes.h"

namespace app {

class ClockView : public clockwork::View {
public:
    ClockView() : presentationLoaded_(canvas_.load()) {}

    // False when the system cannot show a per-pixel-alpha window.
    bool canShow() const { return presentationLoaded_; }
    void attach(HWND window, HINSTANCE module, core::ClockSettings& settings);

    bool showFrame(const clockwork::Frame& frame) override;
    int applyLook(const core::ClockSettings& settings) override;
    void setTopmost(bool topmost) override { modes_.setTopmost(topmost); }
    void setClickThrough(bool clickThrough) override { modes_.setClickThrough(clickThrough); }
    core::WindowPosition place() const override;
    void wakeAfter(unsigned milliseconds) override;
    void tell(const std::wstring& message) override;

    // True when the clock takes a DPI other than its last; the next frame is drawn at it.
    bool takeDpi(int dpi);
    // The monitor's scale changed: once the next frame has the new size, the clock is placed
    // again around the centre it had in `before` (a locked one at its stored place). The frame
    // may come later, when the clock is seen again.
    void placeAfterResize(const RECT& before) { pendingPlace_ = before; }
    // The size the clock has on a monitor of a DPI.
    core::CanvasSize sizeAt(int dpi) const;
    void stopWaking();
    // Nothing is shown after this; the images are let go.
    void release();

    ui::WindowModes& modes() { return modes_; }
    render::SkinImages& skin() { return skin_; }

private:
    HWND window_ = nullptr;
    HINSTANCE module_ = nullptr;
    const core::ClockSettings* settings_ = nullptr;
    std::optional<RECT> pendingPlace_;
    render::SkinImages skin_;
    render::ClockCanvas canvas_{skin_};
    ui::WindowModes modes_;
    bool presentationLoaded_;
};

} // namespace app
