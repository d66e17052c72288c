#include "core/file_time.h"

#include <limits>

namespace core {

namespace {

constexpr std::int64_t TicksPerSecond = 10'000'000;
// The seconds from 1601 to 1970: 369 years with 89 leap days.
constexpr long long SecondsFrom1601To1970 = (369LL * 365 + 89) * 86400;

} // namespace

std::optional<std::int64_t> fileTimeTicks(long long utcSeconds) {
    constexpr long long latest =
        std::numeric_limits<std::int64_t>::max() / TicksPerSecond - SecondsFrom1601To1970;
    if (utcSeconds < -SecondsFrom1601To1970 || utcSeconds > latest)
        return std::nullopt;
    return (utcSeconds + SecondsFrom1601To1970) * TicksPerSecond;
}

} // namespace core
