// The ringing window beside a clock: it opens without taking the keyboard, answers keys under a
// loop that knows nothing of it, and keeps its controls apart at 144 DPI.
#include "dialogs/ringing_dialog.h"
#include "win/window_rect.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Answers : dialogs::RingingAnswer {
    std::vector<int> snoozes;
    int dismissals = 0;
    void snooze(int minutes) override { snoozes.push_back(minutes); }
    void dismiss() override { ++dismissals; }
};

const std::vector<clockwork::RingingLine> Ringing = {{L"07:00:00", L"起床", L""}};

bool within(const RECT& inner, const RECT& outer) {
    RECT common{};
    return IntersectRect(&common, &inner, &outer) && EqualRect(&common, &inner);
}

class RingingWindow : public ::testing::Test {
protected:
    ~RingingWindow() override { DestroyWindow(clock); }
    void openAndClick() {
        ASSERT_TRUE(dialog.showRinging(Ringing, false));
        SetForegroundWindow(dialog.hwnd());
    }
    // Into the focused control, dispatched as by a loop that knows nothing of the window.
    void type(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&m);
    }

    RECT work{};
    const BOOL gotWorkArea = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // In the work area's bottom right corner.
    const HWND clock =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, work.right - 130, work.bottom - 130, 130, 130,
                        nullptr, nullptr, nullptr, nullptr);
    Answers answers;
    dialogs::RingingDialog dialog{GetModuleHandleW(nullptr), answers};
    void SetUp() override { dialog.attach(clock); }
};

TEST_F(RingingWindow, OpensBesideTheClockAndUpdatesWithoutTakingTheKeyboard) {
    const HWND typing = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 30,
                                        nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(typing);
    SetFocus(typing);
    ASSERT_TRUE(dialog.showRinging(Ringing, false));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.hwnd(), IDC_RINGING_SOUND_OFF)));
    ASSERT_TRUE(
        dialog.showRinging({{L"07:00", L"起床", L"晚了 3 分钟"}, {L"07:05", L"", L""}}, true));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog.hwnd(), IDC_RINGING_SOUND_OFF)));
    pumpFor(200); // an activation that would come late
    EXPECT_EQ(GetForegroundWindow(), typing);
    EXPECT_EQ(GetFocus(), typing);
    RECT window{}, clockRect{}, common{};
    GetWindowRect(dialog.hwnd(), &window);
    GetWindowRect(clock, &clockRect);
    EXPECT_TRUE(gotWorkArea && within(window, work));
    EXPECT_FALSE(IntersectRect(&common, &window, &clockRect));
    EXPECT_TRUE(GetWindowLongPtrW(dialog.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(typing);
}

TEST_F(RingingWindow, ClickedItAnswersKeysAndEachOpeningOffersTenMinutes) {
    openAndClick();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog.hwnd(), IDOK));
    for (const WPARAM key : {VK_TAB, VK_UP, VK_RETURN}) // 5 分钟
        type(key);
    openAndClick();
    type(VK_RETURN);
    openAndClick();
    type(VK_ESCAPE);
    EXPECT_EQ(answers.snoozes, (std::vector<int>{5, 10}));
    EXPECT_EQ(answers.dismissals, 1);
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

// Run only in a prefix set to 144 DPI (tests/win32/CMakeLists.txt).
TEST(AtDpi144, RingingWindowGrowsByHalfWithItsControlsApartInsideIt) {
    Answers answers;
    dialogs::RingingDialog dialog(GetModuleHandleW(nullptr), answers);
    ASSERT_TRUE(dialog.showRinging(Ringing, true));
    RECT client{}, common{};
    GetClientRect(dialog.hwnd(), &client);
    // 333 x 203 at 96 DPI; the dialog's font grows a little more than the DPI.
    EXPECT_NEAR(client.right / 333.0, 1.5, 0.15);
    EXPECT_NEAR(client.bottom / 203.0, 1.5, 0.15);
    std::vector<RECT> controls;
    for (HWND c = GetWindow(dialog.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        controls.push_back(win::rectInParent(c));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(within(controls[i], client)) << i;
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(IntersectRect(&common, &controls[i], &controls[j])) << i << " " << j;
    }
}

} // namespace
