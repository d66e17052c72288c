// The clock window's boundaries with Windows: its styles and place at start-up, the messages it
// routes, the layered window's timer, the tray icon, the countdown and the menus. The rules
// behind them are tested against fakes in the native tests of the clock.
#include "core/clock_timers.h"
#include "ui/tray_icon.h"
#include "win/handles.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class ClockWindowTest : public ::testing::Test, public ClockUnderTest {
protected:
    void start() { ASSERT_NE(ClockUnderTest::start(), nullptr); }
    void start(const core::ClockSettings& settings) {
        ASSERT_NE(ClockUnderTest::start(settings), nullptr);
    }
};

} // namespace

// --- Start-up -------------------------------------------------------------------------------

TEST_F(ClockWindowTest, FirstStartWritesTheDefaultsAndStandsTopRight) {
    start();
    ASSERT_EQ(savedBytes().size(), core::SettingsFileSize);
    // The corrected place is kept in memory only; the file still says "not recorded".
    EXPECT_EQ(saved().windowLeft, -1);
    EXPECT_EQ(saved().windowTop, -1);
    EXPECT_EQ(saved().hourlyChime, 1);
    const RECT rect = windowRect();
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_CXSCREEN) - 140);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, 130);
    EXPECT_EQ(rect.bottom - rect.top, 130);
    EXPECT_TRUE(exStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle() & WS_EX_APPWINDOW);
    EXPECT_FALSE(exStyle() & WS_EX_TRANSPARENT);
}

TEST_F(ClockWindowTest, SavedPositionIsCorrectedOnlyPastTheScreen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    core::ClockSettings settings;
    settings.windowLeft = width; // the edge itself is kept
    settings.windowTop = 200;
    start(settings);
    EXPECT_EQ(windowRect().left, width);
    EXPECT_EQ(windowRect().top, 200);
    clock.reset();
    settings.windowLeft = width + 1;
    settings.windowTop = -3;
    start(settings);
    EXPECT_EQ(windowRect().left, width - 140);
    EXPECT_EQ(windowRect().top, 10);
}

TEST_F(ClockWindowTest, EnterEscapeAndCloseLeaveTheClockRunning) {
    start();
    for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_COMMAND, IDOK},
                                          {WM_COMMAND, IDCANCEL},
                                          {WM_SYSCOMMAND, SC_CLOSE},
                                          {WM_CLOSE, 0}})
        SendMessageW(clock->hwnd(), message, wParam, 0);
    pumpFor(100);
    EXPECT_TRUE(IsWindow(clock->hwnd()));
}

TEST_F(ClockWindowTest, SystemMenuEndsWithTheAboutItem) {
    start();
    HMENU systemMenu = GetSystemMenu(clock->hwnd(), FALSE);
    const int count = GetMenuItemCount(systemMenu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[64] = {};
    GetMenuStringW(systemMenu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"关于 Dialwork(&A)...");
    EXPECT_TRUE(GetMenuState(systemMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(ClockWindowTest, StoredClickThroughStartsTransparentAndTurnsOffToTheStartStyle) {
    start();
    const LONG_PTR startStyle = exStyle();
    clock.reset();
    core::ClockSettings settings;
    settings.clickThrough = 1;
    start(settings);
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT);
    command(ID_CLICK_THROUGH);
    EXPECT_EQ(exStyle() & ~WS_EX_TOPMOST, startStyle & ~WS_EX_TOPMOST);
    EXPECT_EQ(saved().clickThrough, 0);
    command(ID_CLICK_THROUGH);
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT);
    EXPECT_EQ(saved().clickThrough, 1);
}

// --- The wake ------------------------------------------------------------------------------

TEST_F(ClockWindowTest, AWakeRingsADueAlarm) {
    FixedTime time(7, 29, 59);
    core::ClockSettings settings;
    settings.alarms.assign({{1, "07:30:00", "x"}}, win::isAnsiLeadByte);
    start(settings);
    wake();
    ASSERT_FALSE(builtInSoundPlaying());
    time.set(7, 30, 0);
    wake();
    EXPECT_TRUE(builtInSoundPlaying());
}

TEST_F(ClockWindowTest, AFadeWakesTheClockEveryStepAndOtherwiseOnceASecond) {
    core::ClockSettings settings;
    settings.opacityIndex = 4;
    start(settings);
    // Once a second, and once more when a wake came a little before its second.
    EXPECT_LE(wakesWithin(clock->hwnd(), 500), 2);
    SendMessageW(clock->hwnd(), WM_MOUSEHOVER, 0, 0);
    // Nine steps 30 ms apart: a loaded machine still delivers several in half a second.
    EXPECT_GE(wakesWithin(clock->hwnd(), 500), 4);
}

TEST_F(ClockWindowTest, FramesAndWakesHoldTheObjectCountsSteady) {
    FixedTime time(8, 15, 30);
    start();
    wake();
    const DWORD gdiAfterFirst = gdiObjects();
    const DWORD userAfterFirst = userObjects();
    ASSERT_GT(gdiAfterFirst, 0u);
    ASSERT_GT(userAfterFirst, 0u);
    {
        // The count must see a leak: one brush more is one object more.
        win::UniqueBrush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(gdiObjects(), gdiAfterFirst + 1);
    }
    for (int i = 0; i < 10000; ++i) {
        time.set(8, 15 + (i / 60) % 40, i % 60);
        wake();
    }
    EXPECT_EQ(gdiObjects(), gdiAfterFirst);
    EXPECT_EQ(userObjects(), userAfterFirst);
}

TEST_F(ClockWindowTest, CountdownShowsOnTopAndACancelPutsTheClockBack) {
    FixedTime time(21, 59, 59);
    core::ClockSettings settings;
    settings.shutdown = {1, 1, "22:00:00"};
    start(settings);
    wake();
    time.set(22, 0, 0);
    bool sawTopmost = false;
    ASSERT_TRUE(inDialog(
        L"自动关机提示", [&] { wake(); },
        [&](HWND countdown) {
            sawTopmost = (exStyle() & WS_EX_TOPMOST) != 0;
            PostMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
        }));
    EXPECT_TRUE(sawTopmost);
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
}

// --- Tray icon -----------------------------------------------------------------------------

TEST_F(ClockWindowTest, ARecreatedTaskbarGetsTheIconBackAndOtherIconsAreLeftAlone) {
    start();
    EXPECT_EQ(SendMessageW(clock->hwnd(), ui::TrayCallbackMessage, 77, WM_MOUSEMOVE), 1);
    EXPECT_EQ(SendMessageW(clock->hwnd(), ui::TrayCallbackMessage, ui::TrayIconId, WM_MOUSEMOVE),
              0);
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = clock->hwnd();
    record.uID = IDN_TRAY_ICON;
    Shell_NotifyIconW(NIM_DELETE, &record); // as a new shell has no icons yet
    ASSERT_FALSE(trayIconPresent(clock->hwnd()));
    SendMessageW(clock->hwnd(), app::taskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(trayIconPresent(clock->hwnd()));
}

TEST_F(ClockWindowTest, TrayIconGoesWithTheWindowAndWithTheSession) {
    start();
    const HWND first = clock->hwnd();
    ASSERT_TRUE(trayIconPresent(first));
    DestroyWindow(first);
    EXPECT_FALSE(trayIconPresent(first));
    clock.reset();

    start();
    ASSERT_TRUE(trayIconPresent(clock->hwnd()));
    DeleteFileW(settingsPath().c_str());
    SendMessageW(clock->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(trayIconPresent(clock->hwnd()));
    EXPECT_EQ(savedBytes().size(), core::SettingsFileSize);
}

TEST_F(ClockWindowTest, TrayRightClickWhileADialogIsOpenBringsItForwardInsteadOfAMenu) {
    start();
    const auto rightClickOnTheIcon = [&] {
        PostMessageW(clock->hwnd(), ui::TrayCallbackMessage, ui::TrayIconId, WM_RBUTTONUP);
    };
    // A menu that opened is closed again at once, so a failure cannot hang the test.
    const auto menuWasShown = [] {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        const bool shown = menu && IsWindowVisible(menu);
        if (shown)
            EndMenu();
        return shown;
    };
    bool menuDuringDialog = true;
    HWND about = nullptr, elsewhere = nullptr, foreground = nullptr;
    {
        LaterOnThisThread inTheDialog([&] {
            if (!elsewhere) {
                if (!(about = findDialog(L"关于 Veltrano")))
                    return false;
                // Another program's window has the focus, as the taskbar has after the click.
                elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                            nullptr, nullptr, nullptr, nullptr);
                SetForegroundWindow(elsewhere);
                rightClickOnTheIcon();
                return false; // the click is handled before the next timer message
            }
            menuDuringDialog = menuWasShown();
            foreground = GetForegroundWindow();
            DestroyWindow(elsewhere);
            SendMessageW(about, WM_COMMAND, IDOK, 0);
            return true;
        });
        command(ID_ABOUT);
    }
    EXPECT_FALSE(menuDuringDialog);
    EXPECT_EQ(foreground, about);
    // With no dialog open the same click opens the menu.
    bool menuAfterwards = false;
    LaterOnThisThread closeMenu([&] { return menuAfterwards = menuWasShown(); });
    rightClickOnTheIcon();
    EXPECT_TRUE(pumpUntil([&] { return menuAfterwards; }, 5000));
}

// --- Menus and commands --------------------------------------------------------------------

TEST_F(ClockWindowTest, UpdatePassMarksOneStyleAndOneOpacity) {
    core::ClockSettings settings;
    settings.styleIndex = 2;
    settings.opacityIndex = 3;
    settings.lockPosition = 1;
    settings.clickThrough = 1;
    start(settings);
    win::UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CLOCK_MENU)));
    HMENU popup = GetSubMenu(menu.get(), 0);
    for (int sub = 0; sub < 2; ++sub) {
        HMENU child = GetSubMenu(popup, sub);
        SendMessageW(clock->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(child), sub);
        int checked = 0, checkedAt = -1;
        for (int i = 0; i < GetMenuItemCount(child); ++i)
            if (GetMenuState(child, i, MF_BYPOSITION) & MF_CHECKED) {
                ++checked;
                checkedAt = i;
            }
        EXPECT_EQ(checked, 1) << sub;
        EXPECT_EQ(checkedAt, sub == 0 ? 2 : 3);
    }
    SendMessageW(clock->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_FALSE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_CHECKED); // always on top
    EXPECT_TRUE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_CHECKED);  // lock
    wchar_t text[32] = {};
    GetMenuStringW(popup, 4, text, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"取消穿透");
    EXPECT_EQ(GetMenuItemID(popup, 4), static_cast<UINT>(ID_CLICK_THROUGH));
    EXPECT_EQ(GetMenuItemCount(popup), 9);
}

TEST_F(ClockWindowTest, KeyboardContextMenuOpensJustInsideTheTopLeftCorner) {
    start();
    // Away from the screen's edges, so the menu need not be pushed back onto the screen.
    SetWindowPos(clock->hwnd(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT menuRect{};
    LaterOnThisThread look([&] {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow))
            return false;
        GetWindowRect(menuWindow, &menuRect);
        EndMenu();
        return true;
    });
    SendMessageW(clock->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clock->hwnd()),
                 MAKELPARAM(-1, -1));
    POINT origin{0, 0};
    ClientToScreen(clock->hwnd(), &origin);
    EXPECT_EQ(menuRect.left, origin.x + 5);
    EXPECT_EQ(menuRect.top, origin.y + 5);
}

TEST_F(ClockWindowTest, CommandsReachTheClockAndTheWindowAndAreSaved) {
    start();
    command(ID_STYLE2);
    EXPECT_EQ(saved().styleIndex, 1);
    command(ID_OPACITY_20);
    EXPECT_EQ(saved().opacityIndex, 4);
    SetWindowPos(clock->hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    command(ID_LOCK_POSITION);
    EXPECT_EQ(saved().lockPosition, 1);
    EXPECT_EQ(saved().windowLeft, 300);
    EXPECT_EQ(saved().windowTop, 200);
    command(ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST);
    command(ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
    // Not merely out of the topmost band: behind every other window.
    EXPECT_EQ(GetWindow(clock->hwnd(), GW_HWNDLAST), clock->hwnd());
}

TEST_F(ClockWindowTest, ExitSavesAndEndsTheWindow) {
    start();
    DeleteFileW(settingsPath().c_str());
    command(ID_EXIT);
    EXPECT_FALSE(IsWindow(clock->hwnd()));
    EXPECT_EQ(clock->endResult(), IDCANCEL);
    EXPECT_EQ(savedBytes().size(), core::SettingsFileSize);
}
