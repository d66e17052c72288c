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

namespace {

// As Windows scales a length for a DPI: halves away from zero.
int scaled(int pixels, int dpi) {
    const long long product = static_cast<long long>(pixels) * (dpi > 0 ? dpi : BaseDpi);
    return static_cast<int>((product + BaseDpi / 2) / BaseDpi);
}

bool holds(const ScreenRect& area, WindowPosition point) {
    return point.left >= area.left && point.left < area.right && point.top >= area.top &&
           point.top < area.bottom;
}

} // namespace

WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight,
                                    int clockWidth, int dpi) {
    WindowPosition result = saved;
    const int margin = scaled(DefaultMargin, dpi);
    if (saved.left > screenWidth || saved.left < 0) {
        result.left = screenWidth - (clockWidth + margin);
    }
    if (saved.top > screenHeight || saved.top < 0) {
        result.top = margin;
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

WindowPosition startPosition(WindowPosition saved, const std::vector<Monitor>& monitors,
                             const SizeAtDpi& sizeAt) {
    Monitor primary{{0, 0, 1024, 768}, BaseDpi};
    std::vector<ScreenRect> areas;
    for (const Monitor& monitor : monitors) {
        areas.push_back(monitor.area);
        if (holds(monitor.area, {0, 0}))
            primary = monitor;
    }
    if (saved.left >= 0 && saved.top >= 0) {
        Monitor holder = primary;
        for (const Monitor& monitor : monitors)
            if (holds(monitor.area, saved))
                holder = monitor;
        const CanvasSize size = sizeAt(holder.dpi);
        if (mostlyOnMonitors(saved, size.width, size.height, areas))
            return saved;
    }
    const CanvasSize size = sizeAt(primary.dpi);
    return correctStartPosition(saved, primary.area.right - primary.area.left,
                                primary.area.bottom - primary.area.top, size.width, primary.dpi);
}

WindowPosition positionAfterDisplayChange(WindowPosition current, int clockWidth, int clockHeight,
                                          const std::vector<ScreenRect>& monitors, int screenWidth,
                                          int screenHeight) {
    if (mostlyOnMonitors(current, clockWidth, clockHeight, monitors))
        return current;
    return correctStartPosition(current, screenWidth, screenHeight, clockWidth);
}

WindowPosition placeBesideClock(const ScreenRect& clock, int width, int height,
                                const ScreenRect& workArea, int gap) {
    const int centredLeft = clock.left + (clock.right - clock.left - width) / 2;
    const WindowPosition sides[] = {
        {centredLeft, clock.bottom + gap},
        {centredLeft, clock.top - gap - height},
        {clock.right + gap, clock.top},
        {clock.left - gap - width, clock.top},
    };
    const auto withinWorkArea = [&](WindowPosition place) {
        return WindowPosition{placeBetween(place.left, width, workArea.left, workArea.right),
                              placeBetween(place.top, height, workArea.top, workArea.bottom)};
    };
    for (const WindowPosition& side : sides) {
        const WindowPosition place = withinWorkArea(side);
        const ScreenRect window{place.left, place.top, place.left + width, place.top + height};
        if (overlapArea(window, clock) == 0)
            return place;
    }
    return withinWorkArea(sides[0]);
}

} // namespace core
