// The clock on monitors of another DPI: the size and art it takes when Windows says so.
#include "app/clock_window.h"
#include "core/settings.h"
#include "win/dpi.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

class ClockDpi : public ::testing::Test {
protected:
    void start(const core::ClockSettings& settings) {
        writeFile(scratch.file(L"Settings.def"),
                  core::encodeSettings(settings, win::isAnsiLeadByte));
        clock = std::make_unique<app::ClockWindow>(GetModuleHandleW(nullptr));
        clock->createModeless(nullptr);
        ASSERT_TRUE(IsWindow(clock->hwnd()));
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

    ScratchDirectory scratch;
    std::unique_ptr<app::ClockWindow> clock;
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
    EXPECT_EQ(clock->canvas().shown().zoom, 1.5f);

    clock->settings().zoom = 2.0f;
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

TEST_F(ClockDpi, EveryBuiltInLookHasDoubleArtThatMatchesIt) {
    start(core::ClockSettings());
    for (int style = 0; style < core::StyleCount; ++style) {
        clock->applySkinStyle(style);
        EXPECT_NE(clock->skin().doubleArt(), nullptr) << style;
    }
}

} // namespace
