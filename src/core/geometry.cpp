#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace core {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Truncation toward zero that saturates instead of overflowing; NaN gives 0.
int truncToInt(double value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

int zoomedSide(int side, float zoom) {
    return truncToInt(static_cast<double>(static_cast<float>(side) * zoom));
}

bool fits(int side, float zoom) {
    return zoomedSide(side, zoom) <= MaxFrameSide;
}

} // namespace

float effectiveZoom(float zoom, int faceWidth, int faceHeight, int dpi) {
    if (std::isnan(zoom)) {
        zoom = 1.0f;
    }
    zoom = std::min(std::max(zoom, MinZoom), MaxZoom);
    if (dpi > 0 && dpi != BaseDpi) {
        zoom = static_cast<float>(static_cast<double>(zoom) * dpi / BaseDpi);
    }
    const int side = std::max(faceWidth, faceHeight);
    if (fits(side, zoom)) {
        return zoom;
    }
    // side > 0 here. Start near the exact bound and settle on the largest float that fits:
    // the float product rounds, so the bound has to be probed rather than computed.
    float fitted = static_cast<float>((MaxFrameSide + 1.0) / side);
    while (!fits(side, fitted)) {
        fitted = std::nextafter(fitted, 0.0f);
    }
    for (;;) {
        const float larger = std::nextafter(fitted, std::numeric_limits<float>::infinity());
        if (!fits(side, larger)) {
            break;
        }
        fitted = larger;
    }
    return fitted;
}

ArtChoice chooseArt(float scale, bool doubleArtAvailable) {
    if (doubleArtAvailable && scale > 1.0f) {
        // Halving a float is exact, so the frame keeps the size the 1x art would give it.
        return {true, scale / DoubleArtScale};
    }
    return {false, scale};
}

CanvasSize canvasSize(int faceWidth, int faceHeight, float zoom) {
    return CanvasSize{zoomedSide(faceWidth, zoom), zoomedSide(faceHeight, zoom)};
}

PointF dialCentre(int faceWidth, int faceHeight, float zoom) {
    const double x = static_cast<double>(static_cast<float>(faceWidth) * zoom) * 0.5;
    const double y = static_cast<double>(static_cast<float>(faceHeight) * zoom) * 0.5;
    return PointF{std::trunc(x), std::trunc(y)};
}

HandPose handPose(Hand hand, int hour, int minute, int second) {
    if (hand == Hand::Hour) {
        const float angle =
            static_cast<float>(hour * 30) + static_cast<float>(minute) * 0.5f - 180.0f;
        const bool asStored = (hour >= 3 && hour <= 8) || (hour >= 15 && hour <= 20);
        return HandPose{angle, !asStored};
    }
    const int value = hand == Hand::Minute ? minute : second;
    return HandPose{static_cast<float>((value - 30) * 6), !(value >= 16 && value <= 44)};
}

std::array<PointF, 3> handCornersF(int w, int h, float zoom, PointF centre, HandPose pose) {
    const double width = static_cast<double>(zoomedSide(w, zoom));
    const double height = static_cast<double>(zoomedSide(h, zoom));
    // Offset that puts the pivot (horizontal middle, a third down) on the origin.
    const double dx = -static_cast<double>(static_cast<float>(w) * zoom) * 0.5;
    const double dy = -static_cast<double>(static_cast<float>(h) * zoom * PivotFraction);

    std::array<PointF, 3> q;
    if (pose.mirrored) {
        q = {PointF{width, 0.0}, PointF{0.0, 0.0}, PointF{width, height}};
    } else {
        q = {PointF{0.0, 0.0}, PointF{width, 0.0}, PointF{0.0, height}};
    }

    const double a = static_cast<double>(pose.angleDegrees) * Pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    std::array<PointF, 3> corners;
    for (std::size_t i = 0; i < q.size(); ++i) {
        const double x = q[i].x + dx;
        const double y = q[i].y + dy;
        corners[i] = PointF{x * c - y * s + centre.x, x * s + y * c + centre.y};
    }
    return corners;
}

std::array<Point, 3> handCorners(int w, int h, float zoom, PointF centre, HandPose pose) {
    const std::array<PointF, 3> f = handCornersF(w, h, zoom, centre, pose);
    std::array<Point, 3> corners;
    for (std::size_t i = 0; i < f.size(); ++i) {
        corners[i] =
            Point{truncToInt(std::floor(f[i].x + 0.5)), truncToInt(std::floor(f[i].y + 0.5))};
    }
    return corners;
}

PixelRect handBounds(int w, int h, float zoom, PointF centre, HandPose pose) {
    // Bicubic sampling spreads a pixel two pixels further; one more covers rounding.
    constexpr int FilterReach = 3;
    const std::array<Point, 3> c = handCorners(w, h, zoom, centre, pose);
    const Point fourth{c[1].x + c[2].x - c[0].x, c[1].y + c[2].y - c[0].y};
    PixelRect bounds{fourth.x, fourth.y, fourth.x, fourth.y};
    for (const Point& p : c) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    return {bounds.left - FilterReach, bounds.top - FilterReach, bounds.right + FilterReach + 1,
            bounds.bottom + FilterReach + 1};
}

int placeBetween(int start, int size, int low, int high) {
    if (high - low < size)
        return low + (high - low - size) / 2;
    return std::min(std::max(start, low), high - size);
}

int clampOpacity(int percent) {
    return (percent < 0 || percent > 100) ? 100 : percent;
}

std::uint8_t constantAlpha(int percent) {
    return static_cast<std::uint8_t>(static_cast<int>(clampOpacity(percent) * 2.55));
}

} // namespace core
