#pragma once

#include <vector>

namespace core {

struct WindowPosition {
    int left, top;
};

struct ScreenRect {
    int left, top, right, bottom;
};

// Where a clock whose saved place is off the primary screen reappears.
constexpr int DefaultRightMargin = 140, DefaultTop = 10;

// Start-up correction against the primary screen: a left outside 0..screenWidth becomes
// screenWidth - 140 and a top outside 0..screenHeight becomes 10. The bounds themselves are kept.
WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight);

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

} // namespace core
