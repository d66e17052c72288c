#pragma once
// What a presented clock frame shows, so the clock can tell whether a new frame would look any
// different from the one on the screen.
#include <cstdint>

#include "core/clock_time.h"

namespace core {

struct FrameKey {
    int hour = -1, minute = -1, second = -1;
    float zoom = 0.0f;
    int alpha = -1;
    std::uint64_t look = 0;

    bool operator==(const FrameKey& other) const {
        return hour == other.hour && minute == other.minute && second == other.second &&
               zoom == other.zoom && alpha == other.alpha && look == other.look;
    }
    bool operator!=(const FrameKey& other) const { return !(*this == other); }
};

// The frame for `time` at the zoom actually drawn, the opacity in percent and a look (any number
// that changes whenever the look's images change). Without a second hand the seconds do not
// show, so such a frame changes once a minute.
FrameKey frameKey(const LocalTime& time, bool showSecondHand, float drawnZoom, int opacityPercent,
                  std::uint64_t look);

} // namespace core
