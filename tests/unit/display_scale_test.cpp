// The clock's size on monitors of every common DPI, the art it is drawn from, and where it goes
// when the monitors change.
#include "core/geometry.h"
#include "core/position.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr int face = 130;

int sideAt(float zoom, int dpi) {
    return core::canvasSize(face, face, core::effectiveZoom(zoom, face, face, dpi)).width;
}

TEST(DisplayScale, SideIsFaceTimesZoomTimesDpiOver96) {
    const struct {
        int dpi;
        int atZoom1, atZoom1_5, atZoom2;
    } rows[] = {{96, 130, 195, 260},
                {120, 162, 243, 325},
                {144, 195, 292, 390},
                {192, 260, 390, 520},
                {0, 130, 195, 260}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dpi);
        EXPECT_EQ(sideAt(1.0f, row.dpi), row.atZoom1);
        EXPECT_EQ(sideAt(1.5f, row.dpi), row.atZoom1_5);
        EXPECT_EQ(sideAt(2.0f, row.dpi), row.atZoom2);
    }
    // The stored zoom is clamped before the monitor's scale applies; the frame limit after it.
    EXPECT_EQ(sideAt(5.0f, 192), 520);
    EXPECT_LE(core::canvasSize(1000, 1000, core::effectiveZoom(2.0f, 1000, 1000, 192)).width,
              core::MaxFrameSide);
}

TEST(DisplayScale, DoubleArtAboveScaleOneGivesTheSameFrameSize) {
    for (float scale : {1.25f, 1.5f, 2.0f, 3.0f, 4.0f}) {
        const core::ArtChoice art = core::chooseArt(scale, true);
        EXPECT_TRUE(art.doubleArt) << scale;
        EXPECT_EQ(core::canvasSize(2 * face, 2 * face, art.zoom).width,
                  core::canvasSize(face, face, scale).width)
            << scale;
    }
    EXPECT_FALSE(core::chooseArt(1.0f, true).doubleArt);
    const core::ArtChoice custom = core::chooseArt(1.5f, false);
    EXPECT_FALSE(custom.doubleArt);
    EXPECT_EQ(custom.zoom, 1.5f);
}

TEST(DisplayScale, AfterAMonitorChangeOnlyAClockLeftOffScreenMoves) {
    const std::vector<core::ScreenRect> monitors{{-1920, 0, 0, 1080}, {0, 0, 1280, 1024}};
    const core::WindowPosition onTheLeft{-600, 300};
    EXPECT_EQ(core::positionAfterDisplayChange(onTheLeft, 130, 130, monitors, 1280, 1024).left,
              -600);
    const std::vector<core::ScreenRect> primaryOnly{{0, 0, 1280, 1024}};
    const core::WindowPosition back =
        core::positionAfterDisplayChange(onTheLeft, 130, 130, primaryOnly, 1280, 1024);
    EXPECT_EQ(back.left, 1280 - core::DefaultRightMargin);
    EXPECT_EQ(back.top, 300);
}

} // namespace

namespace {
core::CanvasSize clockAt(int dpi) {
    const int side = 130 * dpi / core::BaseDpi;
    return {side, side};
}
} // namespace

TEST(StartPlace, AStoredPlaceIsTestedWithTheSizeOnTheMonitorThatHoldsIt) {
    // A 150 % primary monitor and a 100 % one on its right, the clock in the latter's corner.
    const std::vector<core::Monitor> monitors{{{0, 0, 2560, 1600}, 144},
                                              {{2560, 0, 4480, 1080}, 96}};
    const core::WindowPosition kept = core::startPosition({4350, 950}, monitors, clockAt);
    EXPECT_EQ(kept.left, 4350);
    EXPECT_EQ(kept.top, 950);
}

TEST(StartPlace, AFirstStartStandsInsideTheCornerAtTheClocksSizeThere) {
    for (const auto& [dpi, left, top] : {std::tuple<int, int, int>{96, 884, 10},
                                         {144, 1024 - 195 - 15, 15},
                                         {192, 1024 - 260 - 20, 20}}) {
        const core::WindowPosition place =
            core::startPosition({-1, -1}, {{{0, 0, 1024, 768}, dpi}}, clockAt);
        EXPECT_EQ(place.left, left) << dpi;
        EXPECT_EQ(place.top, top) << dpi;
    }
}
