#include "render/clock_canvas.h"

namespace render {

bool ClockCanvas::show(HWND window, const core::LocalTime& time, float zoom, bool showSecondHand,
                       int opacityPercent) {
    const ImageSize face = skin_.size(FaceSlot);
    const core::FrameKey key = core::frameKey(
        time, showSecondHand, core::effectiveZoom(zoom, face.width, face.height, dpi_),
        opacityPercent, skin_.generation());
    if (key == shown_)
        return true;
    if (!composer_.compose({&skin_, time, zoom, showSecondHand, dpi_}, frame_))
        return false;
    if (!presentation_.present(window, frame_, opacityPercent, &composer_.changed()))
        return false;
    shown_ = key;
    return true;
}

void ClockCanvas::release() {
    presentation_.release();
    shown_ = core::FrameKey();
}

} // namespace render
