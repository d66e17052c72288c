// Composed frames of the built-in looks: sizes, and hands where the geometry puts them.
#include "core/geometry.h"
#include "core/skin_table.h"
#include "render/skin_resources.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "render/skin_images.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double pi = 3.14159265358979323846;

render::SkinImages loadLook(int look) {
    render::SkinImages skin;
    skin.loadBuiltInLook(GetModuleHandleW(nullptr), render::builtInSkin(look));
    skin.recordSizes();
    return skin;
}

render::Frame compose(const render::SkinImages& skin, int hour, int minute, int second,
                      float zoom = 1.0f, bool secondHand = true) {
    render::FrameRequest request;
    request.skin = &skin;
    request.time.hour = hour;
    request.time.minute = minute;
    request.time.second = second;
    request.zoom = zoom;
    request.showSecondHand = secondHand;
    return render::composeFrame(request);
}

int difference(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 32; shift += 8)
        sum +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

int differingPixels(const render::Frame& a, const render::Frame& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

// The point a hand's image reaches along its pointer, a given share of the way from the pivot.
POINT alongHand(const render::SkinImages& skin, render::SkinSlot slot, core::Hand hand, int h,
                int m, int s, double share) {
    const render::ImageSize size = skin.size(slot);
    const core::PointF centre = core::dialCentre(skin.size(render::FaceSlot).width,
                                                 skin.size(render::FaceSlot).height, 1.0f);
    const double angle = core::handPose(hand, h, m, s).angleDegrees * pi / 180.0;
    const double reach = size.height * (1.0 - core::PivotFraction) * share;
    // The image points down; turning it by the angle turns (0, 1) into (-sin, cos).
    return POINT{static_cast<LONG>(std::lround(centre.x - std::sin(angle) * reach)),
                 static_cast<LONG>(std::lround(centre.y + std::cos(angle) * reach))};
}

struct HandCase {
    render::SkinSlot slot;
    core::Hand hand;
};

const HandCase hands[] = {{render::HourSlot, core::Hand::Hour},
                          {render::MinuteSlot, core::Hand::Minute},
                          {render::SecondSlot, core::Hand::Second}};

// The largest pixel change between two frames in a 5-pixel band across the hand, between a
// quarter and two thirds of its reach.
int strongestChangeAlong(const render::SkinImages& skin, const render::Frame& with,
                         const render::Frame& without, const HandCase& hand, const int (&t)[3]) {
    int strongest = 0;
    for (double share = 0.25; share <= 0.67; share += 0.02) {
        const POINT p = alongHand(skin, hand.slot, hand.hand, t[0], t[1], t[2], share);
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) {
                const int change =
                    difference(with.pixel(p.x + dx, p.y + dy), without.pixel(p.x + dx, p.y + dy));
                strongest = change > strongest ? change : strongest;
            }
    }
    return strongest;
}

int changeAt(const render::SkinImages& skin, const render::Frame& with,
             const render::Frame& without, const HandCase& hand, const int (&t)[3], double share) {
    const POINT p = alongHand(skin, hand.slot, hand.hand, t[0], t[1], t[2], share);
    return difference(with.pixel(p.x, p.y), without.pixel(p.x, p.y));
}

} // namespace

class LookFrames : public ::testing::TestWithParam<int> {};

TEST_P(LookFrames, EachHandIsDrawnWhereItsAngleSays) {
    const int look = GetParam();
    // Times with the three hands well apart, covering mirrored and unmirrored positions.
    const int times[][3] = {{3, 0, 45}, {9, 30, 10}, {6, 15, 40}, {11, 50, 25}};
    for (const auto& t : times) {
        for (const HandCase& hand : hands) {
            render::SkinImages skin = loadLook(look);
            const render::Frame with = compose(skin, t[0], t[1], t[2]);
            skin.release(hand.slot);
            const render::Frame without = compose(skin, t[0], t[1], t[2]);
            ASSERT_TRUE(with.valid() && without.valid());
            const render::SkinImages sizes = loadLook(look);
            EXPECT_GT(strongestChangeAlong(sizes, with, without, hand, t), 80)
                << "look " << look << " hand " << static_cast<int>(hand.slot) << " at " << t[0]
                << ":" << t[1] << ":" << t[2];
            // The opposite direction, beyond the tail, shows nothing of this hand.
            EXPECT_LT(changeAt(sizes, with, without, hand, t, -0.9), 8);
        }
    }
}

TEST_P(LookFrames, HiddenSecondHandLeavesTheFaceAsItWas) {
    render::SkinImages skin = loadLook(GetParam());
    const render::Frame shown = compose(skin, 3, 0, 45, 1.0f, true);
    const render::Frame hidden = compose(skin, 3, 0, 45, 1.0f, false);
    const int t[3] = {3, 0, 45};
    const HandCase second{render::SecondSlot, core::Hand::Second};
    EXPECT_GT(strongestChangeAlong(skin, shown, hidden, second, t), 80);
    const render::SkinImages sizes = loadLook(GetParam());
    skin.release(render::SecondSlot);
    const render::Frame withoutImage = compose(skin, 3, 0, 45, 1.0f, true);
    EXPECT_EQ(strongestChangeAlong(sizes, hidden, withoutImage, second, t), 0);
}

INSTANTIATE_TEST_SUITE_P(BuiltInLooks, LookFrames, ::testing::Range(0, core::StyleCount));

TEST(FrameSize, ZoomScalesTheCanvas) {
    const render::SkinImages skin = loadLook(0);
    const render::Frame normal = compose(skin, 10, 10, 0, 1.0f);
    EXPECT_EQ(normal.width(), 130);
    EXPECT_EQ(normal.height(), 130);
    const render::Frame zoomed = compose(skin, 10, 10, 0, 1.5f);
    EXPECT_EQ(zoomed.width(), 195);
    EXPECT_EQ(zoomed.height(), 195);
    // Corners stay transparent, the dial centre is opaque.
    EXPECT_EQ(zoomed.pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(zoomed.pixel(97, 97) >> 24, 255u);
}

TEST(FrameSize, StoredZoomOutsideTheSliderIsDrawnClamped) {
    const render::SkinImages skin = loadLook(1);
    const std::pair<float, int> cases[] = {{std::numeric_limits<float>::quiet_NaN(), 130},
                                           {std::numeric_limits<float>::infinity(), 260},
                                           {0.0f, 130},
                                           {0.5f, 130},
                                           {1e30f, 260}};
    for (const auto& [zoom, side] : cases) {
        const render::Frame frame = compose(skin, 1, 2, 3, zoom);
        EXPECT_EQ(frame.width(), side) << zoom;
        EXPECT_EQ(frame.height(), side) << zoom;
    }
}

TEST(SkinImagesLoading, ImageLargerThanTheLimitIsRefused) {
    testing_support::ScratchDirectory scratch;
    for (const int width : {core::MaxImageSide, core::MaxImageSide + 1}) {
        const std::wstring path = scratch.file(std::to_wstring(width) + L".png");
        ASSERT_TRUE(render::saveFramePng(render::Frame(width, 2), path));
        const bool loaded = render::loadImageFile(path) != nullptr;
        EXPECT_EQ(loaded, width <= core::MaxImageSide) << width;
    }
}

TEST(FrameComposerTest, KeptLayersFollowTheLookAndTheZoom) {
    render::SkinImages skin = loadLook(0);
    render::FrameComposer composer;
    render::Frame kept;
    render::FrameRequest request{&skin, {}, 1.0f, true};
    request.time.hour = 10;
    ASSERT_TRUE(composer.compose(request, kept));
    // Another look at another zoom: nothing of the first may be left in the kept layers.
    skin.loadBuiltInLook(GetModuleHandleW(nullptr), render::builtInSkin(1));
    skin.recordSizes();
    request.zoom = 1.5f;
    ASSERT_TRUE(composer.compose(request, kept));
    EXPECT_EQ(differingPixels(kept, render::composeFrame(request)), 0);
}

TEST(FrameComposerTest, FramesRedrawnInPartMatchFreshOnes) {
    const render::SkinImages skin = loadLook(3);
    // Seconds, a new minute, the second hand hidden and shown again.
    const struct {
        int minute, second;
        bool shown;
    } steps[] = {{58, 57, true}, {58, 58, true}, {58, 59, true},
                 {59, 0, true},  {59, 1, false}, {59, 2, true}};
    for (const int dpi : {core::BaseDpi, 2 * core::BaseDpi}) {
        render::FrameComposer composer;
        render::Frame kept;
        render::FrameRequest request{&skin, {}, 1.0f, true, dpi};
        request.time.hour = 10;
        for (const auto& step : steps) {
            request.time.minute = step.minute;
            request.time.second = step.second;
            request.showSecondHand = step.shown;
            ASSERT_TRUE(composer.compose(request, kept));
            const core::PixelRect& changed = composer.changed();
            const int changedArea = (changed.right - changed.left) * (changed.bottom - changed.top);
            if (&step != steps && step.second != 0)
                EXPECT_LT(changedArea, kept.width() * kept.height() / 2) << step.second;
            EXPECT_EQ(differingPixels(kept, render::composeFrame(request)), 0)
                << dpi << " " << step.second;
        }
    }
}

TEST(FrameSize, MissingFaceGivesNoFrame) {
    render::SkinImages skin = loadLook(2);
    skin.release(render::FaceSlot);
    skin.recordSizes();
    EXPECT_FALSE(compose(skin, 1, 2, 3).valid());
}

TEST(SkinImagesLoading, BrokenImageDataGivesAnEmptySlot) {
    const char notPng[] = "this is not an image at all";
    EXPECT_EQ(render::decodeImage(notPng, sizeof(notPng)), nullptr);
    render::SkinImages skin;
    skin.loadFile(L"Z:\\no\\such\\file.png", render::FaceSlot);
    EXPECT_EQ(skin.image(render::FaceSlot), nullptr);
    EXPECT_FALSE(skin.loadPngResource(GetModuleHandleW(nullptr), 9999, render::FaceSlot));
}

TEST(Skins, BuiltInResourceIds) {
    const render::SkinResourceIds& look4 = render::builtInSkin(4);
    EXPECT_EQ(look4.face, 180);
    EXPECT_EQ(look4.hour, 181);
    EXPECT_EQ(look4.minute, 183);
    EXPECT_EQ(look4.second, 184);
    EXPECT_EQ(look4.caseImage, 182);
    EXPECT_EQ(render::builtInSkin(1).second, 142);
    EXPECT_EQ(render::builtInSkin(5).face, 134);
    EXPECT_EQ(render::builtInSkin(-1).caseImage, 140);
}
