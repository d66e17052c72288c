#include <gtest/gtest.h>

#include "core/file_time.h"

#include <limits>

namespace {

TEST(FileTimeTicks, CountsFrom1601AndRefusesWhatADueTimeCannotHold) {
    // FILETIME values as Windows reports them for these instants.
    EXPECT_EQ(core::fileTimeTicks(0), 116444736000000000);          // 1970-01-01 00:00:00
    EXPECT_EQ(core::fileTimeTicks(1796626799), 134411003990000000); // 2026-12-07 06:59:59
    EXPECT_EQ(core::fileTimeTicks(-11644473600), 0);                // 1601-01-01 00:00:00
    EXPECT_EQ(core::fileTimeTicks(-11644473601), std::nullopt);
    EXPECT_EQ(core::fileTimeTicks(std::numeric_limits<long long>::max()), std::nullopt);
    EXPECT_EQ(core::fileTimeTicks(std::numeric_limits<long long>::min()), std::nullopt);
}

} // namespace
