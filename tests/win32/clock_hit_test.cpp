// The clock's whole window is its own at every size: a right click opens its menu and a drag
// moves it also with a custom face of a few dozen pixels.
#include "core/skin_table.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr int SmallFaceSide = 32;
constexpr std::uint32_t OpaqueBlue = 0xFF0000FF;

} // namespace

TEST(ClockHitTest, TheMiddleOfAThirtyTwoPixelClockIsItsClientArea) {
    ClockUnderTest clock;
    render::Frame face(SmallFaceSide, SmallFaceSide);
    for (int i = 0; i < SmallFaceSide * SmallFaceSide; ++i)
        face.pixels()[i] = OpaqueBlue;
    ASSERT_TRUE(render::saveFramePng(face, clock.scratch.file(L"face.png")));
    core::ClockSettings settings;
    settings.styleIndex = core::CustomStyleIndex;
    settings.customFacePath = win::wideToAnsi(clock.scratch.file(L"face.png"));
    ASSERT_NE(clock.start(settings), nullptr);

    RECT window{};
    GetWindowRect(clock.clock->hwnd(), &window);
    ASSERT_EQ(window.right - window.left, SmallFaceSide);
    const LPARAM middle =
        MAKELPARAM(window.left + SmallFaceSide / 2, window.top + SmallFaceSide / 2);
    EXPECT_EQ(SendMessageW(clock.clock->hwnd(), WM_NCHITTEST, 0, middle), HTCLIENT);
}
