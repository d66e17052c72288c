#include <gtest/gtest.h>

#include "core/pixels.h"

TEST(Pixels, BlendOverRoundsEachChannel) {
    EXPECT_EQ(core::blendOver(0xFF102030u, 0xFFFFFFFFu), 0xFF102030u);
    EXPECT_EQ(core::blendOver(0u, 0x80402010u), 0x80402010u);
    // Half covered: 64 + 255 * 127 / 255 = 191.
    EXPECT_EQ(core::blendOver(0x80404040u, 0xFFFFFFFFu), 0xFFBFBFBFu);
    EXPECT_EQ(core::blendOver(0x80404040u, 0xFF000000u), 0xFF404040u);
}

TEST(Pixels, RunsBlendWhatTheirLayerBlendsAndNoMore) {
    // A diagonal stroke with clear rows above and below and clear margins on both sides.
    core::PixelLayer layer;
    layer.clear({3, 2, 13, 12});
    for (int row = 2; row < 8; ++row)
        for (int x = row; x < row + 3; ++x)
            layer.pixels[row * 10 + x] = 0x80000000u | static_cast<std::uint32_t>(row * 16 + x);
    const core::PixelRuns runs(layer);
    EXPECT_EQ(runs.size(), 18u);
    EXPECT_EQ(runs.area().left, 5);
    EXPECT_EQ(runs.area().top, 4);
    EXPECT_EQ(runs.area().right, 13);
    EXPECT_EQ(runs.area().bottom, 10);
    for (const core::PixelRect clip :
         {core::PixelRect{0, 0, 16, 16}, core::PixelRect{6, 5, 9, 8}}) {
        std::vector<std::uint32_t> byLayer(16 * 16, 0xFF336699u), byRuns = byLayer;
        core::blendLayer(layer, byLayer.data(), 16, clip);
        runs.blendOnto(byRuns.data(), 16, clip);
        EXPECT_EQ(byLayer, byRuns);
    }
}
