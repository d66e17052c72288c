#pragma once
// The zoom slider of the options dialog: positions 0..100 stand for zoom 1.00..2.00 in steps of
// 0.01.
#include <string>

namespace core {

constexpr int ZoomSliderMax = 100;

// A stored zoom brought into MinZoom..MaxZoom; NaN, which has no side to lean to, becomes 1.0.
float sensibleZoom(float zoom);

// The slider position for a stored zoom, rounded to the nearest step.
int zoomSliderPosition(float zoom);

// The zoom a position stands for: computed in double, stored in single precision, so the zoom of
// a position gives that position back and, through it, the very same float.
float zoomAtSliderPosition(int position);

// The zoom as a whole percentage with a full-width percent sign, e.g. "110％".
std::wstring zoomPercentLabel(float zoom);

} // namespace core
