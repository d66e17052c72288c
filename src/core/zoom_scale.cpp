#include "core/zoom_scale.h"

#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace core {

namespace {
constexpr double ZoomStep = 0.01;
constexpr double PercentPerZoom = 100.0;
const wchar_t* const FullWidthPercent = L"\uFF05";
// A float times a hundred has at most 41 digits before the point.
constexpr std::size_t PercentDigitsCapacity = 64;
} // namespace

float sensibleZoom(float zoom) {
    if (std::isnan(zoom))
        return 1.0f;
    return std::min(std::max(zoom, MinZoom), MaxZoom);
}

int zoomSliderPosition(float zoom) {
    const double steps = (static_cast<double>(sensibleZoom(zoom)) - 1.0) / ZoomStep;
    return static_cast<int>(std::lround(steps));
}

float zoomAtSliderPosition(int position) {
    return static_cast<float>(position * ZoomStep + 1.0);
}

std::wstring zoomPercentLabel(float zoom) {
    // As printf's "%.f": no decimals, rounded. Not a string stream: that would bring the C++
    // library's locale machinery, which was most of the program's code, in for this one label.
    wchar_t digits[PercentDigitsCapacity];
    std::swprintf(digits, PercentDigitsCapacity, L"%.0f",
                  static_cast<double>(zoom) * PercentPerZoom);
    return digits + std::wstring(FullWidthPercent);
}

} // namespace core
