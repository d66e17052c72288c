#include "render/frame.h"

#include "core/geometry.h"

namespace render {

namespace {

constexpr int bitsPerPixel = 32;

void drawHand(Gdiplus::Graphics& graphics, const SkinImages& skin, SkinSlot slot, core::Hand hand,
              const FrameRequest& request, float zoom, core::PointF centre) {
    Gdiplus::Image* image = skin.image(slot);
    const ImageSize size = skin.size(slot);
    if (!image || size.width <= 0 || size.height <= 0)
        return;
    const core::HandPose pose =
        core::handPose(hand, request.time.hour, request.time.minute, request.time.second);
    const auto corners = core::handCorners(size.width, size.height, zoom, centre, pose);
    Gdiplus::Point points[3];
    for (int i = 0; i < 3; ++i)
        points[i] = Gdiplus::Point(corners[i].x, corners[i].y);
    graphics.DrawImage(image, points, 3);
}

} // namespace

Frame::Frame(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, so row 0 is the top of the clock
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
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

Frame composeFrame(const FrameRequest& request) {
    if (!request.skin)
        return Frame();
    const SkinImages& skin = *request.skin;
    Gdiplus::Image* face = skin.image(FaceSlot);
    const ImageSize faceSize = skin.size(FaceSlot);
    if (!face || faceSize.width <= 0 || faceSize.height <= 0)
        return Frame();

    const float zoom = core::effectiveZoom(request.zoom, faceSize.width, faceSize.height);
    const core::CanvasSize canvas = core::canvasSize(faceSize.width, faceSize.height, zoom);
    if (canvas.width <= 0 || canvas.height <= 0)
        return Frame();
    Frame frame(canvas.width, canvas.height);
    if (!frame.valid())
        return frame;

    {
        // GDI+ draws straight into the DIB's bits, keeping the alpha channel.
        Gdiplus::Bitmap canvasBitmap(canvas.width, canvas.height, canvas.width * 4,
                                     PixelFormat32bppPARGB,
                                     reinterpret_cast<BYTE*>(frame.pixels()));
        Gdiplus::Graphics graphics(&canvasBitmap);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        const Gdiplus::Rect whole(0, 0, canvas.width, canvas.height);
        graphics.DrawImage(face, whole);

        const core::PointF centre = core::dialCentre(faceSize.width, faceSize.height, zoom);
        drawHand(graphics, skin, HourSlot, core::Hand::Hour, request, zoom, centre);
        drawHand(graphics, skin, MinuteSlot, core::Hand::Minute, request, zoom, centre);
        if (request.showSecondHand)
            drawHand(graphics, skin, SecondSlot, core::Hand::Second, request, zoom, centre);

        if (Gdiplus::Image* caseImage = skin.image(CaseSlot)) {
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics.DrawImage(caseImage, whole);
        }
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    return frame;
}

} // namespace render
