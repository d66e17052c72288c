#include "core/position.h"

#include <algorithm>

namespace core {

namespace {

long long overlapArea(const ScreenRect& a, const ScreenRect& b) {
    const long long width =
        static_cast<long long>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const long long height =
        static_cast<long long>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

} // namespace

WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight) {
    WindowPosition result = saved;
    if (saved.left > screenWidth || saved.left < 0) {
        result.left = screenWidth - DefaultRightMargin;
    }
    if (saved.top > screenHeight || saved.top < 0) {
        result.top = DefaultTop;
    }
    return result;
}

namespace {

bool mostlyOnMonitors(WindowPosition place, int clockWidth, int clockHeight,
                      const std::vector<ScreenRect>& monitors) {
    if (clockWidth <= 0 || clockHeight <= 0)
        return false;
    const ScreenRect clock{place.left, place.top, place.left + clockWidth, place.top + clockHeight};
    long long visible = 0;
    for (const ScreenRect& monitor : monitors)
        visible += overlapArea(clock, monitor);
    return 2 * visible > static_cast<long long>(clockWidth) * clockHeight;
}

} // namespace

WindowPosition startPosition(WindowPosition saved, int clockWidth, int clockHeight,
                             const std::vector<ScreenRect>& monitors, int screenWidth,
                             int screenHeight) {
    if (saved.left >= 0 && saved.top >= 0 &&
        mostlyOnMonitors(saved, clockWidth, clockHeight, monitors))
        return saved;
    return correctStartPosition(saved, screenWidth, screenHeight);
}

WindowPosition positionAfterDisplayChange(WindowPosition current, int clockWidth, int clockHeight,
                                          const std::vector<ScreenRect>& monitors, int screenWidth,
                                          int screenHeight) {
    if (mostlyOnMonitors(current, clockWidth, clockHeight, monitors))
        return current;
    return correctStartPosition(current, screenWidth, screenHeight);
}

} // namespace core
