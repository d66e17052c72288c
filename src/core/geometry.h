#pragma once

#include <array>
#include <cstdint>

namespace core {

// Largest window side we let a zoom produce; layered windows this big are already costly.
constexpr int MaxFrameSide = 4096;

// A zoom that is not finite or not positive becomes 1. A zoom that would make either side of the
// face exceed MaxFrameSide is lowered to the largest zoom that fits. Sane zooms pass unchanged.
float effectiveZoom(float zoom, int faceWidth, int faceHeight);

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

// Opacity in percent; anything outside 0..100 means fully opaque.
int clampOpacity(int percent);
// Layered-window alpha for an opacity percent (100 gives 254, not 255).
std::uint8_t constantAlpha(int percent);

bool isChimeDue(int minute, int second, std::int32_t hourlyChime);

} // namespace core
