#include "render/frame.h"

#include "core/geometry.h"

#include <algorithm>

namespace render {

namespace {

constexpr int BitsPerPixel = 32;

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

Frame::Frame(int width, int height) : width_(width), height_(height) {
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
        scaleLayers(art, canvas);

    GdiFlush();
    std::copy(face_.begin(), face_.end(), frame.pixels());
    // GDI+ draws straight into the DIB's bits, keeping the alpha channel.
    Gdiplus::Bitmap canvasBitmap(canvas.width, canvas.height, canvas.width * 4,
                                 PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(frame.pixels()));
    Gdiplus::Graphics graphics(&canvasBitmap);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    const core::PointF centre = core::dialCentre(artFace.width, artFace.height, zoom);
    drawSkinHand(graphics, art, HourSlot, core::Hand::Hour, request, zoom, centre);
    drawSkinHand(graphics, art, MinuteSlot, core::Hand::Minute, request, zoom, centre);
    if (request.showSecondHand)
        drawSkinHand(graphics, art, SecondSlot, core::Hand::Second, request, zoom, centre);
    if (case_) {
        // Already at the canvas's size: pixel for pixel, over the hands.
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics.DrawImage(case_.get(), Gdiplus::Rect(0, 0, canvas.width, canvas.height), 0, 0,
                           canvas.width, canvas.height, Gdiplus::UnitPixel);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
    return true;
}

void FrameComposer::scaleLayers(const SkinImages& skin, core::CanvasSize canvas) {
    look_ = skin.generation();
    layersArt_ = &skin;
    canvas_ = canvas;
    const Gdiplus::Rect whole(0, 0, canvas.width, canvas.height);
    face_.assign(static_cast<size_t>(canvas.width) * canvas.height, 0);
    {
        Gdiplus::Bitmap face(canvas.width, canvas.height, canvas.width * 4, PixelFormat32bppPARGB,
                             reinterpret_cast<BYTE*>(face_.data()));
        Gdiplus::Graphics graphics(&face);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(skin.image(FaceSlot), whole);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    case_.reset();
    if (Gdiplus::Image* caseImage = skin.image(CaseSlot)) {
        case_ =
            std::make_unique<Gdiplus::Bitmap>(canvas.width, canvas.height, PixelFormat32bppPARGB);
        Gdiplus::Graphics graphics(case_.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(caseImage, whole);
    }
}

Frame composeFrame(const FrameRequest& request) {
    Frame frame;
    FrameComposer().compose(request, frame);
    return frame;
}

} // namespace render
