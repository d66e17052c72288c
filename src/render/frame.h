#pragma once
// Composing one clock frame is kept apart from showing it, so tests and the
// frame tool can read the composed pixels.
#include <windows.h>

#include "core/clock_time.h"
#include "core/geometry.h"
#include "render/skin_images.h"
#include "win/handles.h"

#include <cstdint>
#include <memory>
#include <vector>

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
    // The monitor's DPI: the frame is drawn at zoom times its scale.
    int dpi = core::BaseDpi;
};

// Composes clock frames: the face, the hour, minute and second hands, then the case, with
// high-quality bicubic sampling, from the look's double-size art whenever the scale is above 1.
// The face and the case are kept scaled for the current look and scale, so a frame of the
// running clock only draws its hands.
class FrameComposer {
public:
    // Draws `request` into `frame`, which is made anew only when the clock's size changes.
    // False (and an invalid frame) without a face to draw.
    bool compose(const FrameRequest& request, Frame& frame);

private:
    void scaleLayers(const SkinImages& skin, core::CanvasSize canvas);

    std::uint64_t look_ = 0;
    const SkinImages* layersArt_ = nullptr;
    core::CanvasSize canvas_;
    // The face scaled to the canvas, premultiplied, row by row as the frame holds it.
    std::vector<std::uint32_t> face_;
    std::unique_ptr<Gdiplus::Bitmap> case_;
};

// Draws a hand image of `size` (unscaled) where `hand` points at `time`, turned about `centre` and
// scaled by `zoom`, as the clock draws it; the custom look's preview draws its hands with it too.
void drawHand(Gdiplus::Graphics& graphics, Gdiplus::Image& image, ImageSize size, core::Hand hand,
              const core::LocalTime& time, float zoom, core::PointF centre);

// One frame with a composer of its own. A missing face gives an invalid frame.
Frame composeFrame(const FrameRequest& request);

} // namespace render
