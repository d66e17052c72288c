#include "render/frame.h"

#include "core/geometry.h"

#include <algorithm>

namespace render {

namespace {

constexpr int BitsPerPixel = 32;
std::uint64_t lastFrameSerial = 0;

// A GDI+ bitmap drawing straight into a layer's pixels, keeping their alpha.
Gdiplus::Bitmap overLayer(core::PixelLayer& layer) {
    return Gdiplus::Bitmap(layer.area.width(), layer.area.height(), layer.area.width() * 4,
                           PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(layer.pixels.data()));
}

// A layer the canvas's size with `image` scaled over all of it.
void scaleOnto(core::PixelLayer& layer, core::CanvasSize canvas, Gdiplus::Image* image) {
    layer.clear({0, 0, canvas.width, canvas.height});
    Gdiplus::Bitmap bitmap = overLayer(layer);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.DrawImage(image, Gdiplus::Rect(0, 0, canvas.width, canvas.height));
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

void drawSkinHand(Gdiplus::Graphics& graphics, const SkinImages& skin, SkinSlot slot,
                  core::Hand hand, const FrameRequest& request, float zoom, core::PointF centre) {
    Gdiplus::Image* image = skin.image(slot);
    const ImageSize size = skin.size(slot);
    if (image && size.width > 0 && size.height > 0)
        drawHand(graphics, *image, size, hand, request.time, zoom, centre);
}

} // namespace

void drawHand(Gdiplus::Graphics& graphics, Gdiplus::Image& image, ImageSize size, core::Hand hand,
              const core::LocalTime& time, float zoom, core::PointF centre) {
    const core::HandPose pose = core::handPose(hand, time.hour, time.minute, time.second);
    const auto corners = core::handCorners(size.width, size.height, zoom, centre, pose);
    Gdiplus::Point points[3];
    for (int i = 0; i < 3; ++i)
        points[i] = Gdiplus::Point(corners[i].x, corners[i].y);
    graphics.DrawImage(&image, points, 3);
}

Frame::Frame(int width, int height) : serial_(++lastFrameSerial), width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, so row 0 is the top of the clock
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = BitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = bitmap_ ? static_cast<std::uint32_t*>(bits) : nullptr;
}

std::uint32_t Frame::pixel(int x, int y) const {
    if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    GdiFlush();
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

bool FrameComposer::compose(const FrameRequest& request, Frame& frame) {
    const SkinImages* skin = request.skin;
    const ImageSize faceSize = skin ? skin->size(FaceSlot) : ImageSize{};
    if (!skin || !skin->image(FaceSlot) || faceSize.width <= 0 || faceSize.height <= 0) {
        frame = Frame();
        return false;
    }
    const float scale =
        core::effectiveZoom(request.zoom, faceSize.width, faceSize.height, request.dpi);
    const core::ArtChoice choice = core::chooseArt(scale, skin->doubleArt() != nullptr);
    const SkinImages& art = choice.doubleArt ? *skin->doubleArt() : *skin;
    const ImageSize artFace = art.size(FaceSlot);
    const float zoom = choice.zoom;
    const core::CanvasSize canvas = core::canvasSize(artFace.width, artFace.height, zoom);
    if (canvas.width <= 0 || canvas.height <= 0) {
        frame = Frame();
        return false;
    }
    if (frame.width() != canvas.width || frame.height() != canvas.height || !frame.valid())
        frame = Frame(canvas.width, canvas.height);
    if (!frame.valid())
        return false;
    if (look_ != skin->generation() || layersArt_ != &art || canvas_.width != canvas.width ||
        canvas_.height != canvas.height)
        scaleLayers(skin->generation(), art, canvas);

    const core::PointF centre = core::dialCentre(artFace.width, artFace.height, zoom);
    bool redrawAll = frame.serial() != frameSerial_;
    if (handsZoom_ != zoom) {
        forgetHands();
        handsZoom_ = zoom;
    }
    if (stillHour_ != request.time.hour || stillMinute_ != request.time.minute ||
        still_.pixels.empty()) {
        drawStillHands(art, request, zoom, centre);
        redrawAll = true;
    }
    const core::PixelRuns* second = secondHand(art, request, zoom, centre);
    const core::PixelRect secondArea = second ? second->area() : core::PixelRect{};
    changed_ = redrawAll ? still_.area : core::unite(secondHand_, secondArea);
    secondHand_ = secondArea;
    frameSerial_ = frame.serial();
    if (changed_.empty())
        return true;
    GdiFlush(); // the frame's bits are written directly
    core::copyLayer(still_, frame.pixels(), frame.width(), changed_);
    if (second)
        second->blendOnto(frame.pixels(), frame.width(), changed_);
    if (!case_.pixels.empty())
        core::blendLayer(case_, frame.pixels(), frame.width(), changed_);
    return true;
}

void FrameComposer::drawStillHands(const SkinImages& art, const FrameRequest& request, float zoom,
                                   core::PointF centre) {
    still_ = face_;
    Gdiplus::Bitmap still = overLayer(still_);
    Gdiplus::Graphics graphics(&still);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    drawSkinHand(graphics, art, HourSlot, core::Hand::Hour, request, zoom, centre);
    drawSkinHand(graphics, art, MinuteSlot, core::Hand::Minute, request, zoom, centre);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    stillHour_ = request.time.hour;
    stillMinute_ = request.time.minute;
}

const core::PixelRuns* FrameComposer::secondHand(const SkinImages& art, const FrameRequest& request,
                                                 float zoom, core::PointF centre) {
    const ImageSize size = art.size(SecondSlot);
    if (!request.showSecondHand || !art.image(SecondSlot) || size.width <= 0 || size.height <= 0)
        return nullptr;
    const int at = ((request.time.second % core::SecondsPerMinute) + core::SecondsPerMinute) %
                   core::SecondsPerMinute;
    if (keptSeconds_[at])
        return &*keptSeconds_[at];
    const core::HandPose pose = core::handPose(core::Hand::Second, 0, 0, at);
    secondCanvas_.clear(core::intersect(
        core::handBounds(size.width, size.height, zoom, centre, pose), still_.area));
    if (!secondCanvas_.area.empty()) {
        Gdiplus::Bitmap bitmap = overLayer(secondCanvas_);
        Gdiplus::Graphics graphics(&bitmap);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        // Drawn where it lies on the canvas, cut to the layer.
        graphics.TranslateTransform(static_cast<Gdiplus::REAL>(-secondCanvas_.area.left),
                                    static_cast<Gdiplus::REAL>(-secondCanvas_.area.top));
        drawSkinHand(graphics, art, SecondSlot, core::Hand::Second, request, zoom, centre);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    core::PixelRuns runs(secondCanvas_);
    if (keptSecondPixels_ + runs.size() > MaxKeptSecondPixels) {
        drawnSecond_ = std::move(runs);
        return &drawnSecond_;
    }
    keptSecondPixels_ += runs.size();
    return &keptSeconds_[at].emplace(std::move(runs));
}

void FrameComposer::forgetHands() {
    still_.pixels.clear();
    keptSeconds_.fill(std::nullopt);
    keptSecondPixels_ = 0;
}

void FrameComposer::scaleLayers(std::uint64_t look, const SkinImages& art,
                                core::CanvasSize canvas) {
    // The look's own generation: the double-size art it holds has one of its own.
    look_ = look;
    layersArt_ = &art;
    canvas_ = canvas;
    forgetHands();
    scaleOnto(face_, canvas, art.image(FaceSlot));
    if (Gdiplus::Image* caseImage = art.image(CaseSlot))
        scaleOnto(case_, canvas, caseImage);
    else
        case_ = core::PixelLayer();
}

Frame composeFrame(const FrameRequest& request) {
    Frame frame;
    FrameComposer().compose(request, frame);
    return frame;
}

} // namespace render
