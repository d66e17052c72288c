#include "core/frame_key.h"

#include "core/geometry.h"

namespace core {

FrameKey frameKey(const LocalTime& time, bool showSecondHand, float drawnZoom, int opacityPercent,
                  std::uint64_t look) {
    FrameKey key;
    key.hour = time.hour;
    key.minute = time.minute;
    key.second = showSecondHand ? time.second : -1;
    key.zoom = drawnZoom;
    key.alpha = constantAlpha(opacityPercent);
    key.look = look;
    return key;
}

} // namespace core
