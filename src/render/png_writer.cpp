#include "render/png_writer.h"

#include <vector>

namespace render {

namespace {

bool findPngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::uint32_t unpremultiply(std::uint32_t pixel) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0)
        return 0;
    auto channel = [&](int shift) {
        const std::uint32_t value = ((pixel >> shift) & 0xFF) * 255 / alpha;
        return (value > 255 ? 255 : value) << shift;
    };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

} // namespace

bool saveFramePng(const Frame& frame, const std::wstring& path) {
    if (!frame.valid())
        return false;
    GdiFlush();
    const int width = frame.width();
    const int height = frame.height();
    std::vector<std::uint32_t> straight(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < straight.size(); ++i)
        straight[i] = unpremultiply(frame.pixels()[i]);
    Gdiplus::Bitmap image(width, height, width * 4, PixelFormat32bppARGB,
                          reinterpret_cast<BYTE*>(straight.data()));
    CLSID encoder{};
    return findPngEncoder(encoder) && image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

} // namespace render
