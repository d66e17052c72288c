#pragma once
// Local time as the clock reads it. Tests may put a fixed time in its place; nothing else does.
#include "core/clock_time.h"

#include <functional>

namespace win {

core::LocalTime currentLocalTime();

using LocalTimeSource = std::function<core::LocalTime()>;
// An empty source goes back to the system clock.
void setLocalTimeSource(LocalTimeSource source);

} // namespace win
