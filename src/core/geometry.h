#pragma once

#include "core/pixels.h"

#include <array>
#include <cstdint>

namespace core {

// The zoom the options dialog offers; a stored value outside it is drawn as if clamped.
constexpr float MinZoom = 1.0f, MaxZoom = 2.0f;
// A look image larger than this on a side is treated as one that does not decode, so a stray
// photograph cannot make a window that eats a core and a gigabyte.
constexpr int MaxImageSide = 1024;
// No frame is larger than the largest image at the largest zoom.
constexpr int MaxFrameSide = 2048;

// Pixels per inch of a screen at 100 % scaling; a monitor's DPI over this is its scale.
constexpr int BaseDpi = 96;

// The scale a frame is drawn with: the stored zoom (NaN becomes 1, anything else is clamped to
// MinZoom..MaxZoom) times the monitor's scale (a DPI of 0 or less counts as BaseDpi), then
// lowered, if need be, to the largest scale at which neither side exceeds MaxFrameSide. The
// stored value itself is left to the user.
float effectiveZoom(float zoom, int faceWidth, int faceHeight, int dpi = BaseDpi);

// Which art a frame is drawn from. Art at twice the size is never scaled up below 2 and looks
// sharper than the 1x art scaled up at any scale above 1: it is taken whenever a look has it.
constexpr int DoubleArtScale = 2;
struct ArtChoice {
    bool doubleArt;
    // The scale to draw the chosen art with: the frame scale over the art's own.
    float zoom;
};
ArtChoice chooseArt(float scale, bool doubleArtAvailable);

struct CanvasSize {
    int width = 0, height = 0;
};
// Face size times zoom, multiplied in float and truncated, as the drawing code sizes its bitmap.
CanvasSize canvasSize(int faceWidth, int faceHeight, float zoom);

struct PointF {
    double x, y;
};
struct Point {
    int x, y;
};
// Pivot of the hands: half the zoomed face, truncated to whole pixels.
PointF dialCentre(int faceWidth, int faceHeight, float zoom);

enum class Hand { Hour, Minute, Second };
// Hand images point down at angle 0. Angles turn clockwise; `mirrored` flips the image
// horizontally so a hand's lit side stays consistent on both halves of the dial.
struct HandPose {
    float angleDegrees;
    bool mirrored;
};
HandPose handPose(Hand hand, int hour, int minute, int second);

// Hands turn about a point one third down their image.
constexpr float PivotFraction = 0.33333334f;

// Top-left, top-right and bottom-left corners of a w x h hand image (unscaled size) drawn at
// `pose` around `centre`, rotated clockwise on a y-down screen.
std::array<PointF, 3> handCornersF(int w, int h, float zoom, PointF centre, HandPose pose);
// The same corners rounded to the nearest pixel (halves round up).
std::array<Point, 3> handCorners(int w, int h, float zoom, PointF centre, HandPose pose);

// The pixels a hand drawn by its corners can touch: their bounds, widened by the reach of the
// bicubic filter.
PixelRect handBounds(int w, int h, float zoom, PointF centre, HandPose pose);

// Where a span of `size` that would start at `start` goes to lie between `low` and `high`: moved
// as little as needed, or centred on the room when it is longer.
int placeBetween(int start, int size, int low, int high);

// Opacity in percent; anything outside 0..100 means fully opaque.
int clampOpacity(int percent);
// Layered-window alpha for an opacity percent (100 gives 254, not 255).
std::uint8_t constantAlpha(int percent);

} // namespace core
