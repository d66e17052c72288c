#pragma once

#include "core/geometry.h"

#include <functional>
#include <vector>

namespace core {

struct WindowPosition {
    int left, top;
};

struct ScreenRect {
    int left, top, right, bottom;
};

// Where a clock whose saved place is off the primary screen reappears: at 96 DPI a 130-pixel
// clock 10 pixels inside the top right corner. The margin grows with the DPI.
constexpr int DefaultRightMargin = 140, DefaultTop = 10, DefaultMargin = 10, DefaultClockSide = 130;

// Start-up correction against the primary screen: a left outside 0..screenWidth becomes
// screenWidth - (clock width + margin) and a top outside 0..screenHeight becomes the margin. The
// bounds themselves are kept.
WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight,
                                    int clockWidth = DefaultClockSide, int dpi = BaseDpi);

struct Monitor {
    ScreenRect area;
    int dpi;
};
// The clock's size on a monitor of a DPI.
using SizeAtDpi = std::function<CanvasSize(int dpi)>;

// Where the clock starts on these monitors (the primary one holds the point 0, 0). A stored
// place is kept when neither value is negative and more than half of the clock, at the size it
// has on the monitor that holds the place, lies on the monitors; any other place gets the
// primary monitor's correction, with the clock's size there.
WindowPosition startPosition(WindowPosition saved, const std::vector<Monitor>& monitors,
                             const SizeAtDpi& sizeAt);

// Where the clock starts. A stored place is kept only when neither value is negative (-1 means
// "not recorded") and more than half of the clock lies on the attached monitors; any other place
// gets the primary-screen correction above.
WindowPosition startPosition(WindowPosition saved, int clockWidth, int clockHeight,
                             const std::vector<ScreenRect>& monitors, int screenWidth,
                             int screenHeight);

// Where the clock goes when the monitors change: it stays while more than half of it is on them
// (on the left of the primary screen too), and one left off them comes back as at start.
WindowPosition positionAfterDisplayChange(WindowPosition current, int clockWidth, int clockHeight,
                                          const std::vector<ScreenRect>& monitors, int screenWidth,
                                          int screenHeight);

// Where a window of `width` x `height` pixels opens beside the clock (`clock`, screen pixels) on
// the clock's monitor: `gap` pixels below it, else above it, else right of it, else left of it,
// the first of these that, moved as little as needed to lie within `workArea`, leaves the clock
// uncovered. Below and above it is centred on the clock, beside it level with the clock's top.
// When none leaves the clock uncovered it goes below, moved within the work area; one larger
// than the work area is centred on it.
WindowPosition placeBesideClock(const ScreenRect& clock, int width, int height,
                                const ScreenRect& workArea, int gap);

} // namespace core
