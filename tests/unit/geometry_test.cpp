#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/frame_key.h"
#include "core/geometry.h"

namespace {

using core::Hand;
using core::PointF;

constexpr double Eps = 1e-4;

void expectNear(const PointF& p, double x, double y) {
    EXPECT_NEAR(p.x, x, Eps);
    EXPECT_NEAR(p.y, y, Eps);
}

// Face 130x130 with a 13x81 hour hand at zoom 1.
std::array<PointF, 3> hourHandAt(int hour, int minute) {
    const PointF centre = core::dialCentre(130, 130, 1.0f);
    return core::handCornersF(13, 81, 1.0f, centre, core::handPose(Hand::Hour, hour, minute, 0));
}

struct HourCorners {
    const char* name;
    int hour;
    PointF corners[3];
};

std::ostream& operator<<(std::ostream& out, const HourCorners& hour) {
    return out << hour.name;
}

class HourHandCorners : public ::testing::TestWithParam<HourCorners> {};

TEST_P(HourHandCorners, AtTheFullHour) {
    const auto c = hourHandAt(GetParam().hour, 0);
    for (int i = 0; i < 3; ++i)
        expectNear(c[i], GetParam().corners[i].x, GetParam().corners[i].y);
}

INSTANTIATE_TEST_SUITE_P(
    HandCorners, HourHandCorners,
    ::testing::Values(
        HourCorners{"SixOClockHangsStraightDown", 6, {{58.5, 38}, {71.5, 38}, {58.5, 119}}},
        HourCorners{
            "NineOClockIsMirroredAndTurnedQuarter", 9, {{92, 71.5}, {92, 58.5}, {11, 71.5}}},
        HourCorners{
            "TwelveOClockIsMirroredAndUpsideDown", 12, {{58.5, 92}, {71.5, 92}, {58.5, 11}}}),
    [](const ::testing::TestParamInfo<HourCorners>& info) { return std::string(info.param.name); });

TEST(HandCorners, RoundingTakesHalvesUp) {
    const PointF centre = core::dialCentre(130, 130, 1.0f);
    const auto c = core::handCorners(13, 81, 1.0f, centre, core::handPose(Hand::Hour, 6, 0, 0));
    EXPECT_EQ(c[0].x, 59);
    EXPECT_EQ(c[0].y, 38);
    EXPECT_EQ(c[1].x, 72);
    EXPECT_EQ(c[2].y, 119);
    const auto m = core::handCorners(13, 81, 1.0f, centre, core::handPose(Hand::Hour, 9, 0, 0));
    EXPECT_EQ(m[0].x, 92);
    EXPECT_EQ(m[0].y, 72);
    EXPECT_EQ(m[1].y, 59); // 58.5 up, despite cos(90 degrees) not being exactly zero
    EXPECT_EQ(m[2].x, 11);
}

TEST(HandCorners, ZoomScalesImageAndPivot) {
    const float zoom = 2.0f;
    const PointF centre = core::dialCentre(130, 130, zoom);
    const auto c = core::handCornersF(13, 81, zoom, centre, core::handPose(Hand::Hour, 6, 0, 0));
    expectNear(c[0], 130 - 13, 130 - 54);
    expectNear(c[1], 130 + 13, 130 - 54);
    expectNear(c[2], 130 - 13, 130 + 108);
}

TEST(HandPose, Angles) {
    EXPECT_FLOAT_EQ(core::handPose(Hand::Hour, 6, 0, 0).angleDegrees, 0.0f);
    EXPECT_FLOAT_EQ(core::handPose(Hand::Hour, 3, 30, 0).angleDegrees, -75.0f);
    EXPECT_FLOAT_EQ(core::handPose(Hand::Hour, 23, 59, 0).angleDegrees, 539.5f);
    EXPECT_FLOAT_EQ(core::handPose(Hand::Minute, 0, 0, 0).angleDegrees, -180.0f);
    EXPECT_FLOAT_EQ(core::handPose(Hand::Minute, 0, 45, 0).angleDegrees, 90.0f);
    EXPECT_FLOAT_EQ(core::handPose(Hand::Second, 0, 0, 59).angleDegrees, 174.0f);
}

TEST(HandPose, HourMirroringBoundaries) {
    for (const int hour : {2, 9, 14, 21, 0, 12, 23})
        EXPECT_TRUE(core::handPose(Hand::Hour, hour, 0, 0).mirrored) << hour;
    for (const int hour : {3, 8, 15, 20})
        EXPECT_FALSE(core::handPose(Hand::Hour, hour, 59, 0).mirrored) << hour;
}

TEST(HandPose, MinuteAndSecondMirroringBoundaries) {
    for (const int v : {15, 45, 0, 59}) {
        EXPECT_TRUE(core::handPose(Hand::Minute, 0, v, 30).mirrored) << v;
        EXPECT_TRUE(core::handPose(Hand::Second, 0, 30, v).mirrored) << v;
    }
    for (const int v : {16, 44, 30}) {
        EXPECT_FALSE(core::handPose(Hand::Minute, 0, v, 0).mirrored) << v;
        EXPECT_FALSE(core::handPose(Hand::Second, 0, 0, v).mirrored) << v;
    }
}

TEST(Canvas, ZoomOneAndAHalf) {
    const core::CanvasSize size = core::canvasSize(130, 130, 1.5f);
    EXPECT_EQ(size.width, 195);
    EXPECT_EQ(size.height, 195);
    const PointF centre = core::dialCentre(130, 130, 1.5f);
    EXPECT_EQ(centre.x, 97.0);
    EXPECT_EQ(centre.y, 97.0);
}

TEST(Canvas, TruncatesEachSide) {
    const core::CanvasSize size = core::canvasSize(131, 77, 1.1f);
    EXPECT_EQ(size.width, 144);
    EXPECT_EQ(size.height, 84);
    const PointF centre = core::dialCentre(131, 77, 1.0f);
    EXPECT_EQ(centre.x, 65.0);
    EXPECT_EQ(centre.y, 38.0);
}

TEST(EffectiveZoom, StoredZoomIsDrawnClampedToTheSliderRange) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> cases[] = {{std::numeric_limits<float>::quiet_NaN(), 1.0f},
                                             {inf, 2.0f},
                                             {-inf, 1.0f},
                                             {0.0f, 1.0f},
                                             {-1.0f, 1.0f},
                                             {0.5f, 1.0f},
                                             {1e30f, 2.0f},
                                             {1.0f, 1.0f},
                                             {1.29f, 1.29f},
                                             {2.0f, 2.0f}};
    for (const auto& [stored, drawn] : cases)
        EXPECT_EQ(core::effectiveZoom(stored, 130, 130), drawn) << stored;
}

TEST(EffectiveZoom, NoFrameExceedsTheLimit) {
    EXPECT_EQ(core::effectiveZoom(2.0f, core::MaxImageSide, 100), 2.0f);
    const float z = core::effectiveZoom(2.0f, 3000, 100);
    EXPECT_EQ(core::canvasSize(3000, 100, z).width, core::MaxFrameSide);
    EXPECT_GT(core::canvasSize(3000, 100, std::nextafter(z, 2.0f)).width, core::MaxFrameSide);
}

TEST(Opacity, ConstantAlpha) {
    EXPECT_EQ(core::constantAlpha(100), 254);
    EXPECT_EQ(core::constantAlpha(90), 229);
    EXPECT_EQ(core::constantAlpha(80), 204);
    EXPECT_EQ(core::constantAlpha(60), 153);
    EXPECT_EQ(core::constantAlpha(40), 102);
    EXPECT_EQ(core::constantAlpha(20), 51);
    EXPECT_EQ(core::constantAlpha(0), 0);
    EXPECT_EQ(core::constantAlpha(120), 254);
    EXPECT_EQ(core::constantAlpha(-5), 254);
}

TEST(Opacity, ClampBoundaries) {
    EXPECT_EQ(core::clampOpacity(0), 0);
    EXPECT_EQ(core::clampOpacity(100), 100);
    EXPECT_EQ(core::clampOpacity(101), 100);
    EXPECT_EQ(core::clampOpacity(-1), 100);
}

} // namespace

TEST(FrameKey, ChangesExactlyWithWhatTheFrameShows) {
    core::LocalTime t;
    t.hour = 9;
    t.minute = 41;
    t.second = 7;
    const core::FrameKey shown = core::frameKey(t, true, 1.0f, 100, 3);
    core::LocalTime later = t;
    later.second = 8;
    later.milliseconds = 500;
    EXPECT_NE(core::frameKey(later, true, 1.0f, 100, 3), shown);
    // Without a second hand only the minute moves the hands.
    EXPECT_EQ(core::frameKey(later, false, 1.0f, 100, 3), core::frameKey(t, false, 1.0f, 100, 3));
    later.minute = 42;
    EXPECT_NE(core::frameKey(later, false, 1.0f, 100, 3), core::frameKey(t, false, 1.0f, 100, 3));
    // Opacities drawn alike are alike; a new look, zoom or opacity is a new frame.
    EXPECT_EQ(core::frameKey(t, true, 1.0f, 120, 3), shown);
    EXPECT_NE(core::frameKey(t, true, 1.0f, 90, 3), shown);
    EXPECT_NE(core::frameKey(t, true, 1.1f, 100, 3), shown);
    EXPECT_NE(core::frameKey(t, true, 1.0f, 100, 4), shown);
}

TEST(PlaceBetween, MovesASpanInsideOrCentresOneTooLong) {
    EXPECT_EQ(core::placeBetween(12, 10, 8, 30), 12);
    EXPECT_EQ(core::placeBetween(5, 10, 8, 30), 8);
    EXPECT_EQ(core::placeBetween(25, 10, 8, 30), 20);
    EXPECT_EQ(core::placeBetween(12, 30, 8, 30), 4);
}
