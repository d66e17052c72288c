#pragma once
// Windows counts absolute times (FILETIME, a timer's due time) in 100-nanosecond ticks since
// 1 January 1601 UTC; the clock counts UTC seconds since 1970.
#include <cstdint>
#include <optional>

namespace core {

// The ticks of that second; nothing when it lies before 1601 or beyond what the ticks can
// hold. A due time must not be negative: Windows would take it for a delay from now.
std::optional<std::int64_t> fileTimeTicks(long long utcSeconds);

} // namespace core
