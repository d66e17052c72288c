#pragma once
// Composing one clock frame is kept apart from showing it, so tests and the
// frame tool can read the composed pixels.
#include <windows.h>

#include "core/clock_time.h"
#include "render/skin_images.h"
#include "win/handles.h"

#include <cstdint>

namespace render {

// A top-down 32-bit DIB section holding premultiplied ARGB, as UpdateLayeredWindow wants it.
class Frame {
public:
    Frame() = default;
    Frame(int width, int height);

    bool valid() const { return bitmap_ && pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    HBITMAP bitmap() const { return bitmap_.get(); }
    std::uint32_t* pixels() const { return pixels_; }
    // Premultiplied 0xAARRGGBB; 0 outside the frame.
    std::uint32_t pixel(int x, int y) const;

private:
    win::UniqueBitmap bitmap_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

struct FrameRequest {
    const SkinImages* skin = nullptr;
    core::LocalTime time;
    float zoom = 1.0f;
    bool showSecondHand = true;
};

// Face, hour, minute and second hand, then the case, with high-quality bicubic sampling.
// A missing face gives an invalid frame.
Frame composeFrame(const FrameRequest& request);

} // namespace render
