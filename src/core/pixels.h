#pragma once
// Premultiplied 0xAARRGGBB pictures held row by row, and the few operations the clock's frames
// are put together with once their layers are drawn.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

// Pixels from `left`/`top` up to, not including, `right`/`bottom`.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return empty() ? 0 : right - left; }
    int height() const { return empty() ? 0 : bottom - top; }
};
// The smallest rectangle holding both; an empty one adds nothing.
PixelRect unite(const PixelRect& a, const PixelRect& b);
PixelRect intersect(const PixelRect& a, const PixelRect& b);

// A picture lying at `area` of a larger one.
struct PixelLayer {
    PixelRect area;
    std::vector<std::uint32_t> pixels;
    // A transparent layer over `where`.
    void clear(const PixelRect& where);
};

// A layer that holds, of each row, only the run from its first to its last pixel that is not
// transparent: a thin shape turned aslant takes a fraction of its bounding rectangle.
class PixelRuns {
public:
    PixelRuns() = default;
    explicit PixelRuns(const PixelLayer& layer);
    // The smallest rectangle holding every pixel that is not transparent.
    const PixelRect& area() const { return area_; }
    std::size_t size() const { return pixels_.size(); }
    // Blends the runs' pixels within `clip` over `canvas`, as blendLayer does.
    void blendOnto(std::uint32_t* canvas, int canvasWidth, const PixelRect& clip) const;

private:
    struct Run {
        int y, left;
        std::size_t first, count; // within pixels_
    };
    PixelRect area_;
    std::vector<Run> runs_;
    std::vector<std::uint32_t> pixels_;
};

// Premultiplied `source` over `destination`, each channel rounded to the nearest value.
std::uint32_t blendOver(std::uint32_t source, std::uint32_t destination);

// Puts the part of `layer` within `clip` into `canvas`, a picture `canvasWidth` pixels wide that
// holds `clip`: copied as it is, or blended over what the canvas holds.
void copyLayer(const PixelLayer& layer, std::uint32_t* canvas, int canvasWidth,
               const PixelRect& clip);
void blendLayer(const PixelLayer& layer, std::uint32_t* canvas, int canvasWidth,
                const PixelRect& clip);

} // namespace core
