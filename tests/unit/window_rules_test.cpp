#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/clock_timers.h"
#include "core/fade.h"
#include "core/menu_rules.h"
#include "core/position.h"
#include "core/skin_table.h"

#include "resource.h"

namespace {

using core::MenuCheck;

TEST(Fade, InFromTwentyPercentTakesEightStepsThenFinishes) {
    int opacity = 20;
    ASSERT_TRUE(core::fadeInStarts(opacity));
    std::vector<int> shown;
    for (;;) {
        const core::FadeStepResult r = core::fadeInStep(opacity);
        if (r.finished) {
            EXPECT_EQ(r.displayedOpacity, 100);
            break;
        }
        opacity = r.displayedOpacity;
        shown.push_back(opacity);
        ASSERT_LE(shown.size(), 20u);
    }
    EXPECT_EQ(shown, (std::vector<int>{30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_FALSE(core::fadeInStarts(100));
}

TEST(Fade, OutFromFullToTwentyPercent) {
    int opacity = 100;
    ASSERT_TRUE(core::fadeOutStarts(4));
    int steps = 0;
    for (;;) {
        const core::FadeStepResult r = core::fadeOutStep(opacity, 4);
        if (r.finished) {
            EXPECT_EQ(r.displayedOpacity, 20);
            break;
        }
        opacity = r.displayedOpacity;
        ++steps;
        ASSERT_LE(steps, 20);
    }
    EXPECT_EQ(steps, 8);
}

TEST(Fade, OutStopsAtTheChosenLevel) {
    EXPECT_EQ(core::fadeOutStep(70, 2).displayedOpacity, 60);
    EXPECT_EQ(core::fadeOutStep(70, 1).displayedOpacity, 70); // already below: left alone
    EXPECT_FALSE(core::fadeOutStep(90, 1).finished);
    EXPECT_TRUE(core::fadeOutStep(80, 1).finished);
    EXPECT_FALSE(core::fadeOutStarts(0));
    EXPECT_EQ(core::opacityLevel(0), 100);
    EXPECT_EQ(core::opacityLevel(4), 20);
}

// The menu's own ids, as the clock menu hands them in.
const core::MenuCommandIds Ids = {
    {ID_STYLE1, ID_STYLE2, ID_STYLE3, ID_STYLE4, ID_STYLE5, ID_STYLE_CUSTOM},
    {ID_OPACITY_100, ID_OPACITY_80, ID_OPACITY_60, ID_OPACITY_40, ID_OPACITY_20},
    ID_ALWAYS_ON_TOP,
    ID_LOCK_POSITION};

TEST(MenuCommands, StyleIds) {
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32783), 0);
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32786), 3);
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32789), 4);
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32790), 5);
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32787), -1); // click-through sits between the looks
    EXPECT_EQ(core::styleIndexForCommand(Ids, 32788), -1);
}

TEST(MenuCommands, OpacityIds) {
    EXPECT_EQ(core::opacityIndexForCommand(Ids, 32772), -1);
    EXPECT_EQ(core::opacityIndexForCommand(Ids, 32773), 0);
    EXPECT_EQ(core::opacityIndexForCommand(Ids, 32777), 4);
    EXPECT_EQ(core::opacityIndexForCommand(Ids, 32778), -1);
}

const std::vector<int> StyleIds = {ID_STYLE1, ID_STYLE2, ID_STYLE3,
                                   ID_STYLE4, ID_STYLE5, ID_STYLE_CUSTOM};
const std::vector<int> OpacityIds = {ID_OPACITY_100, ID_OPACITY_80, ID_OPACITY_60, ID_OPACITY_40,
                                     ID_OPACITY_20};

int checkedAmong(const std::vector<int>& ids, const core::ClockSettings& s, int& checkedId) {
    int n = 0;
    for (const int id : ids) {
        const MenuCheck c = core::menuCheckFor(Ids, id, s);
        EXPECT_NE(c, MenuCheck::NoHandler) << id;
        if (c == MenuCheck::Checked) {
            ++n;
            checkedId = id;
        }
    }
    return n;
}

TEST(MenuChecks, ExactlyOneStyleAndOneOpacityChecked) {
    core::ClockSettings s;
    for (int style = 0; style <= core::CustomStyleIndex; ++style) {
        for (int opacity = 0; opacity < 5; ++opacity) {
            s.styleIndex = style;
            s.opacityIndex = opacity;
            int styleId = 0;
            int opacityId = 0;
            EXPECT_EQ(checkedAmong(StyleIds, s, styleId), 1);
            EXPECT_EQ(styleId, StyleIds[static_cast<std::size_t>(style)]);
            EXPECT_EQ(checkedAmong(OpacityIds, s, opacityId), 1);
            EXPECT_EQ(opacityId, OpacityIds[static_cast<std::size_t>(opacity)]);
        }
    }
}

TEST(MenuChecks, TogglesAndItemsWithoutHandler) {
    core::ClockSettings s;
    EXPECT_EQ(core::menuCheckFor(Ids, ID_ALWAYS_ON_TOP, s), MenuCheck::Unchecked);
    EXPECT_EQ(core::menuCheckFor(Ids, ID_LOCK_POSITION, s), MenuCheck::Unchecked);
    s.alwaysOnTop = 5;
    s.lockPosition = -1;
    EXPECT_EQ(core::menuCheckFor(Ids, ID_ALWAYS_ON_TOP, s), MenuCheck::Checked);
    EXPECT_EQ(core::menuCheckFor(Ids, ID_LOCK_POSITION, s), MenuCheck::Checked);
    for (const int id : {ID_CLICK_THROUGH, ID_ALARM_SHUTDOWN, ID_OPTIONS, ID_ABOUT, ID_EXIT, 0})
        EXPECT_EQ(core::menuCheckFor(Ids, id, s), MenuCheck::NoHandler) << id;
    EXPECT_STREQ(core::clickThroughMenuText(0), L"鼠标穿透");
    EXPECT_STREQ(core::clickThroughMenuText(2), L"取消穿透");
}

// Walks a menu the way the update loop does, with handlers that may remove items.
class MenuWalk : public ::testing::Test {
protected:
    std::vector<int> ids;
    std::vector<int> handled;

    template <typename Handler> void walk(Handler handler) {
        int position = 0;
        while (position < static_cast<int>(ids.size())) {
            const int before = static_cast<int>(ids.size());
            const int id = ids[static_cast<std::size_t>(position)];
            handled.push_back(id);
            handler(id);
            const int after = static_cast<int>(ids.size());
            position = core::nextUpdatePosition(position, before, after, id, [this](int p) {
                EXPECT_GE(p, 0);
                EXPECT_LT(p, static_cast<int>(ids.size()));
                return ids.at(static_cast<std::size_t>(p));
            });
            ASSERT_LE(handled.size(), 50u);
        }
    }
    void remove(int id) {
        for (auto it = ids.begin(); it != ids.end(); ++it) {
            if (*it == id) {
                ids.erase(it);
                return;
            }
        }
    }
};

TEST_F(MenuWalk, NothingRemovedVisitsEveryItem) {
    ids = {1, 2, 3, 4};
    walk([](int) {});
    EXPECT_EQ(handled, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(MenuWalk, HandlerRemovingItsOwnItemContinuesWithTheNext) {
    ids = {1, 2, 3, 4};
    walk([this](int id) {
        if (id == 2)
            remove(2);
    });
    EXPECT_EQ(handled, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(MenuWalk, FirstItemRemovingItself) {
    ids = {1, 2, 3};
    walk([this](int id) {
        if (id == 1)
            remove(1);
    });
    EXPECT_EQ(handled, (std::vector<int>{1, 2, 3}));
}

TEST_F(MenuWalk, RemovingAnEarlierItemDoesNotHandleTheSameItemAgain) {
    ids = {1, 2, 3, 4};
    walk([this](int id) {
        if (id == 3)
            remove(1);
    });
    // Position moves back onto item 3 itself, which is skipped; the walk resumes after it.
    EXPECT_EQ(std::count(handled.begin(), handled.end(), 3), 1);
    EXPECT_EQ(handled.front(), 1);
}

TEST_F(MenuWalk, RemovingEverythingEnds) {
    ids = {1, 2, 3};
    walk([this](int) { ids.clear(); });
    EXPECT_EQ(handled, (std::vector<int>{1}));
}

TEST_F(MenuWalk, RemovingMoreThanPrecededEndsWithoutGoingNegative) {
    ids = {1, 2, 3, 4, 5};
    walk([this](int id) {
        if (id == 2)
            ids = {6, 7};
    });
    EXPECT_EQ(handled, (std::vector<int>{1, 2}));
    EXPECT_EQ(core::nextUpdatePosition(1, 5, 2, 2, [](int) { return 0; }), 2);
}

TEST(StartPosition, InsideTheScreenIsKept) {
    const core::WindowPosition p = core::correctStartPosition({1920, 1080}, 1920, 1080);
    EXPECT_EQ(p.left, 1920);
    EXPECT_EQ(p.top, 1080);
    const core::WindowPosition z = core::correctStartPosition({0, 0}, 1920, 1080);
    EXPECT_EQ(z.left, 0);
    EXPECT_EQ(z.top, 0);
}

TEST(StartPosition, OutsideIsMovedBack) {
    const core::WindowPosition p = core::correctStartPosition({1921, 1081}, 1920, 1080);
    EXPECT_EQ(p.left, 1920 - 140);
    EXPECT_EQ(p.top, 10);
    const core::WindowPosition n = core::correctStartPosition({-1, -1}, 1920, 1080);
    EXPECT_EQ(n.left, 1780);
    EXPECT_EQ(n.top, 10);
    const core::WindowPosition mixed = core::correctStartPosition({-1, 500}, 1024, 768);
    EXPECT_EQ(mixed.left, 884);
    EXPECT_EQ(mixed.top, 500);
}

// The main screen is 1024 x 768 at the origin; a second monitor stands at each side in turn.
TEST(StartPosition, KeptOnlyWhenNotNegativeAndMostlyOnAMonitor) {
    const core::ScreenRect primary{0, 0, 1024, 768};
    struct Case {
        const char* what;
        core::ScreenRect second;
        core::WindowPosition saved, expected;
    };
    const Case cases[] = {
        {"left: -1/-1 touches it", {-1280, 0, 0, 1024}, {-1, -1}, {884, 10}},
        {"left: negative place", {-1280, 0, 0, 1024}, {-600, 100}, {884, 100}},
        {"above: -1/-1 touches it", {0, -900, 1440, 0}, {-1, -1}, {884, 10}},
        {"right: wholly on it", {1024, 0, 2304, 1024}, {1500, 300}, {1500, 300}},
        {"right: mostly off all", {1024, 0, 2304, 1024}, {2250, 300}, {884, 300}},
        {"below: wholly on it", {0, 768, 1024, 1536}, {100, 1000}, {100, 1000}},
        {"straddling both, mostly on", {1024, 0, 2304, 1024}, {980, 700}, {980, 700}},
        {"right of the main screen, no monitor there", {-1280, 0, 0, 1024}, {1100, 10}, {884, 10}},
    };
    for (const Case& c : cases) {
        const core::WindowPosition p =
            core::startPosition(c.saved, 130, 130, {primary, c.second}, 1024, 768);
        EXPECT_EQ(p.left, c.expected.left) << c.what;
        EXPECT_EQ(p.top, c.expected.top) << c.what;
    }
    // With the main screen alone the rule is the primary-screen correction.
    const core::WindowPosition edge =
        core::startPosition({1024, 200}, 130, 130, {primary}, 1024, 768);
    EXPECT_EQ(edge.left, 1024);
}

TEST(Skins, ResolvedStyleIndex) {
    EXPECT_EQ(core::resolvedStyleIndex(4, true), 4);
    EXPECT_EQ(core::resolvedStyleIndex(5, false), 5);
    EXPECT_EQ(core::resolvedStyleIndex(5, true), 0);
    EXPECT_EQ(core::resolvedStyleIndex(6, false), 0);
    EXPECT_EQ(core::resolvedStyleIndex(-1, false), 0);
}

} // namespace

TEST(Fade, StoredOpacityOutsideTheMenuIsDrawnFullAndNeverFades) {
    EXPECT_EQ(core::chosenOpacityIndex(4), 4);
    for (const int stored : {-1, 5, 1000}) {
        EXPECT_EQ(core::chosenOpacityIndex(stored), 0) << stored;
        EXPECT_FALSE(core::fadeOutStarts(core::chosenOpacityIndex(stored))) << stored;
    }
}

TEST(WakePhase, EveryWakeLandsJustAfterAFullSecond) {
    for (int millisecond = 0; millisecond < 1000; ++millisecond) {
        const unsigned delay = core::millisecondsToNextSecond(millisecond);
        EXPECT_GE(delay, core::TickOffsetMs) << millisecond;
        EXPECT_LE(delay, core::SecondMs + core::TickOffsetMs) << millisecond;
        EXPECT_EQ((millisecond + delay) % core::SecondMs, core::TickOffsetMs) << millisecond;
    }
    // On time: the next wake is a second on; a wake that came a little early for its second
    // comes again just after it.
    EXPECT_EQ(core::millisecondsToNextSecond(core::TickOffsetMs), core::SecondMs);
    EXPECT_EQ(core::millisecondsToNextSecond(995), core::TickOffsetMs + 5);
}

// A 300 x 150 window beside a clock on a 1024 x 768 monitor whose work area ends above a taskbar
// 30 pixels high, 8 pixels from the clock.
TEST(PlaceBesideClock, TheFirstSideThatLeavesTheClockUncoveredWithinTheWorkArea) {
    const core::ScreenRect work{0, 0, 1024, 738};
    struct Case {
        const char* what;
        core::ScreenRect clock, workArea;
        core::WindowPosition expected;
    };
    const Case cases[] = {
        {"top right corner: below, moved left", {884, 10, 1014, 140}, work, {724, 148}},
        {"bottom edge: above", {400, 600, 530, 730}, work, {315, 442}},
        {"left edge, full height: right of it", {0, 0, 200, 738}, work, {208, 0}},
        {"right edge, tall: left of it", {824, 100, 1024, 738}, work, {516, 100}},
        {"monitor left of the main one", {-140, 10, -10, 140}, {-1280, 0, 0, 1024}, {-300, 148}},
        {"larger than the space: below, within", {0, 0, 1024, 738}, work, {362, 588}},
    };
    for (const Case& c : cases) {
        const core::WindowPosition p = core::placeBesideClock(c.clock, 300, 150, c.workArea, 8);
        EXPECT_EQ(p.left, c.expected.left) << c.what;
        EXPECT_EQ(p.top, c.expected.top) << c.what;
    }
}
