#include "core/pixels.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::uint32_t Opaque = 255;
constexpr int ChannelBits = 8;
constexpr int AlphaShift = 24;

// x / 255, rounded to the nearest whole number, for x up to 255 * 255.
std::uint32_t divideBy255(std::uint32_t x) {
    x += 128;
    return (x + (x >> ChannelBits)) >> ChannelBits;
}

template <typename PutRow>
void forRowsWithin(const PixelLayer& layer, const PixelRect& clip, PutRow putRow) {
    const PixelRect both = intersect(layer.area, clip);
    const int layerWidth = layer.area.width();
    for (int y = both.top; y < both.bottom; ++y) {
        const std::uint32_t* from = layer.pixels.data() +
                                    static_cast<size_t>(y - layer.area.top) * layerWidth +
                                    (both.left - layer.area.left);
        putRow(from, y, both.left, both.width());
    }
}

} // namespace

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const PixelRect both{std::max(a.left, b.left), std::max(a.top, b.top),
                         std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return both.empty() ? PixelRect{} : both;
}

void PixelLayer::clear(const PixelRect& where) {
    area = where;
    pixels.assign(static_cast<size_t>(where.width()) * where.height(), 0);
}

std::uint32_t blendOver(std::uint32_t source, std::uint32_t destination) {
    const std::uint32_t alpha = source >> AlphaShift;
    if (alpha == Opaque)
        return source;
    if (alpha == 0 && source == 0)
        return destination;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += ChannelBits) {
        const std::uint32_t below = (destination >> shift) & Opaque;
        const std::uint32_t above = (source >> shift) & Opaque;
        const std::uint32_t channel =
            std::min(Opaque, above + divideBy255(below * (Opaque - alpha)));
        result |= channel << shift;
    }
    return result;
}

PixelRuns::PixelRuns(const PixelLayer& layer) {
    const int width = layer.area.width();
    for (int row = 0; row < layer.area.height(); ++row) {
        const std::uint32_t* begin = layer.pixels.data() + static_cast<size_t>(row) * width;
        const std::uint32_t* end = begin + width;
        const auto visible = [](std::uint32_t pixel) { return pixel != 0; };
        const std::uint32_t* first = std::find_if(begin, end, visible);
        if (first == end)
            continue;
        const std::uint32_t* last =
            std::find_if(std::reverse_iterator(end), std::reverse_iterator(first + 1), visible)
                .base();
        const int y = layer.area.top + row,
                  left = layer.area.left + static_cast<int>(first - begin);
        runs_.push_back({y, left, pixels_.size(), static_cast<size_t>(last - first)});
        pixels_.insert(pixels_.end(), first, last);
        area_ = unite(area_, {left, y, left + static_cast<int>(last - first), y + 1});
    }
}

void PixelRuns::blendOnto(std::uint32_t* canvas, int canvasWidth, const PixelRect& clip) const {
    for (const Run& run : runs_) {
        if (run.y < clip.top || run.y >= clip.bottom)
            continue;
        const int from = std::max(run.left, clip.left);
        const int to = std::min(run.left + static_cast<int>(run.count), clip.right);
        std::uint32_t* target = canvas + static_cast<size_t>(run.y) * canvasWidth;
        for (int x = from; x < to; ++x)
            target[x] = blendOver(pixels_[run.first + (x - run.left)], target[x]);
    }
}

void copyLayer(const PixelLayer& layer, std::uint32_t* canvas, int canvasWidth,
               const PixelRect& clip) {
    forRowsWithin(layer, clip, [&](const std::uint32_t* from, int y, int x, int count) {
        std::copy(from, from + count, canvas + static_cast<size_t>(y) * canvasWidth + x);
    });
}

void blendLayer(const PixelLayer& layer, std::uint32_t* canvas, int canvasWidth,
                const PixelRect& clip) {
    forRowsWithin(layer, clip, [&](const std::uint32_t* from, int y, int x, int count) {
        std::uint32_t* to = canvas + static_cast<size_t>(y) * canvasWidth + x;
        for (int i = 0; i < count; ++i)
            to[i] = blendOver(from[i], to[i]);
    });
}

} // namespace core
