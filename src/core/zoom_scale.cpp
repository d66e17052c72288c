#include "core/zoom_scale.h"

#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace core {

namespace {
constexpr double zoomStep = 0.01;
constexpr double percentPerZoom = 100.0;
const wchar_t* const fullWidthPercent = L"\uFF05";
} // namespace

float sensibleZoom(float zoom) {
    if (std::isnan(zoom))
        return 1.0f;
    return std::min(std::max(zoom, MinZoom), MaxZoom);
}

int zoomSliderPosition(float zoom) {
    const double steps = (static_cast<double>(sensibleZoom(zoom)) - 1.0) / zoomStep;
    return static_cast<int>(std::lround(steps));
}

float zoomAtSliderPosition(int position) {
    return static_cast<float>(position * zoomStep + 1.0);
}

std::wstring zoomPercentLabel(float zoom) {
    // As printf's "%.f": no decimals, rounded.
    std::ostringstream digits;
    digits << std::fixed << std::setprecision(0) << static_cast<double>(zoom) * percentPerZoom;
    const std::string text = digits.str();
    return std::wstring(text.begin(), text.end()) + fullWidthPercent;
}

} // namespace core
