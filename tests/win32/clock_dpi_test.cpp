// The clock on monitors of another DPI: the size and art it takes when Windows says so.
#include "win/dpi.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class ClockDpi : public ::testing::Test, public ClockUnderTest {
protected:
    void start(const core::ClockSettings& settings) {
        ASSERT_NE(ClockUnderTest::start(settings), nullptr);
    }
    RECT rect() const {
        RECT r{};
        GetWindowRect(clock->hwnd(), &r);
        return r;
    }
    // What Windows sends when the clock crosses to a monitor of `dpi`, with the rectangle it
    // suggests (the clock sizes itself).
    void moveToMonitorOf(int dpi) {
        RECT suggested = rect();
        SendMessageW(clock->hwnd(), win::DpiChangedMessage, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
};

TEST_F(ClockDpi, TakesTheNewSizeAtOnceAroundTheSameCentre) {
    core::ClockSettings settings;
    settings.windowLeft = 400;
    settings.windowTop = 300;
    start(settings);
    const RECT before = rect();
    moveToMonitorOf(144);
    const RECT after = rect();
    EXPECT_EQ(after.right - after.left, 195);
    EXPECT_EQ(after.bottom - after.top, 195);
    EXPECT_NEAR((after.left + after.right) / 2.0, (before.left + before.right) / 2.0, 1.0);
    EXPECT_NEAR((after.top + after.bottom) / 2.0, (before.top + before.bottom) / 2.0, 1.0);
    clock.reset();
    settings.zoom = 2.0f;
    start(settings);
    moveToMonitorOf(192);
    EXPECT_EQ(rect().right - rect().left, 520);
}

TEST_F(ClockDpi, ALockedClockStaysAtItsStoredPlace) {
    core::ClockSettings settings;
    settings.windowLeft = 400;
    settings.windowTop = 300;
    settings.lockPosition = 1;
    start(settings);
    moveToMonitorOf(192);
    EXPECT_EQ(rect().left, 400);
    EXPECT_EQ(rect().top, 300);
    EXPECT_EQ(rect().right - rect().left, 260);
}

} // namespace
