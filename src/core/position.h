#pragma once

namespace core {

struct WindowPosition {
    int left, top;
};

// Where a clock whose saved place is off the primary screen reappears.
constexpr int DefaultRightMargin = 140, DefaultTop = 10;

// Start-up correction against the primary screen: a left outside 0..screenWidth becomes
// screenWidth - 140 and a top outside 0..screenHeight becomes 10. The bounds themselves are kept.
WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight);

} // namespace core
