#pragma once
// Composing one clock frame is kept apart from showing it, so tests and the
// frame tool can read the composed pixels.
#include <windows.h>

#include "core/clock_time.h"
#include "core/geometry.h"
#include "render/skin_images.h"
#include "win/handles.h"

#include <array>
#include <cstdint>
#include <optional>

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
    // Tells frames apart, so a composer knows whether it drew the one it is handed last.
    std::uint64_t serial() const { return serial_; }

private:
    win::UniqueBitmap bitmap_;
    std::uint64_t serial_ = 0;
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
// What a running clock repeats is kept for the current look and scale: the face with the hour
// and minute hands of the current minute, the case, and the second hand at each second it has
// shown. A frame of the next second then only copies and blends kept pixels where the second
// hand was and is, and says which part it changed, so that only that part need be shown anew.
class FrameComposer {
public:
    // Draws `request` into `frame`, which is made anew only when the clock's size changes.
    // False (and an invalid frame) without a face to draw.
    bool compose(const FrameRequest& request, Frame& frame);
    // The part of the frame the last compose changed: all of it unless the frame was the one
    // composed before.
    const core::PixelRect& changed() const { return changed_; }

private:
    void scaleLayers(std::uint64_t look, const SkinImages& art, core::CanvasSize canvas);
    // The hands kept so far are of another look, art or scale.
    void forgetHands();
    void drawStillHands(const SkinImages& art, const FrameRequest& request, float zoom,
                        core::PointF centre);
    // The second hand at the request's second, drawn on first use; null when not shown.
    const core::PixelRuns* secondHand(const SkinImages& art, const FrameRequest& request,
                                      float zoom, core::PointF centre);

    std::uint64_t look_ = 0;
    const SkinImages* layersArt_ = nullptr;
    core::CanvasSize canvas_;
    core::PixelLayer face_, case_;
    // The face with the hour and minute hands of the minute `stillHour_`:`stillMinute_`.
    core::PixelLayer still_;
    int stillHour_ = -1, stillMinute_ = -1;
    float handsZoom_ = 0;
    // The second hand turns to one of sixty places. Those kept take at most
    // `MaxKeptSecondPixels` (4 MB); once that is spent (a large custom hand at a large scale),
    // a place not kept is drawn anew into `drawnSecond_` each time it is shown.
    static constexpr size_t MaxKeptSecondPixels = size_t{1} << 20;
    std::array<std::optional<core::PixelRuns>, core::SecondsPerMinute> keptSeconds_;
    size_t keptSecondPixels_ = 0;
    core::PixelRuns drawnSecond_;
    // Where a second hand is drawn before only its visible runs are kept.
    core::PixelLayer secondCanvas_;
    // The frame composed last and where its second hand is (empty when not drawn).
    std::uint64_t frameSerial_ = 0;
    core::PixelRect secondHand_;
    core::PixelRect changed_;
};

// Draws a hand image of `size` (unscaled) where `hand` points at `time`, turned about `centre` and
// scaled by `zoom`, as the clock draws it; the custom look's preview draws its hands with it too.
void drawHand(Gdiplus::Graphics& graphics, Gdiplus::Image& image, ImageSize size, core::Hand hand,
              const core::LocalTime& time, float zoom, core::PointF centre);

// One frame with a composer of its own. A missing face gives an invalid frame.
Frame composeFrame(const FrameRequest& request);

} // namespace render
