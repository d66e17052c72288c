#include "app/clock_view.h"

#include "core/clock_timers.h"
#include "core/geometry.h"
#include "win/dpi.h"
#include "win/message_box.h"

namespace app {

void ClockView::attach(HWND window, HINSTANCE module, core::ClockSettings& settings) {
    window_ = window;
    module_ = module;
    settings_ = &settings;
    modes_.attach(window, settings);
    canvas_.setDpi(win::windowDpi(window));
}

bool ClockView::showFrame(const clockwork::Frame& frame) {
    const bool shown =
        canvas_.show(window_, frame.time, frame.zoom, frame.showSecondHand, frame.opacityPercent);
    if (shown && pendingPlace_) {
        modes_.placeAfterResize(*pendingPlace_);
        pendingPlace_.reset();
    }
    return shown;
}

core::CanvasSize ClockView::sizeAt(int dpi) const {
    const render::ImageSize face = skin_.size(render::FaceSlot);
    return core::canvasSize(face.width, face.height,
                            core::effectiveZoom(settings_->zoom, face.width, face.height, dpi));
}

int ClockView::applyLook(const core::ClockSettings& settings) {
    return skin_.applyStyle(module_, settings.styleIndex, settings);
}

core::WindowPosition ClockView::place() const {
    RECT frame{};
    GetWindowRect(window_, &frame);
    return {frame.left, frame.top};
}

void ClockView::wakeAfter(unsigned milliseconds) {
    // Setting a running timer again restarts it with the new delay.
    SetTimer(window_, core::WakeTimer, milliseconds, nullptr);
}

void ClockView::stopWaking() {
    KillTimer(window_, core::WakeTimer);
}

void ClockView::tell(const std::wstring& message) {
    win::showMessage(window_, message);
}

bool ClockView::takeDpi(int dpi) {
    if (dpi <= 0 || dpi == canvas_.dpi())
        return false;
    canvas_.setDpi(dpi);
    return true;
}

void ClockView::release() {
    skin_.releaseAll();
    canvas_.release();
}

} // namespace app
