// The clock window driven by messages: start-up, the tick, the countdown, menus and fades.
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "dialogs/system_shutdown.h"
#include "ui/tray_icon.h"
#include "win/handles.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

using namespace testing_support;

namespace {

class ClockWindowTest : public ::testing::Test, public ClockUnderTest {
protected:
    void start() { ASSERT_NE(ClockUnderTest::start(), nullptr); }
    void start(const core::ClockSettings& settings) {
        writeSettings(settings);
        start();
    }
    RECT windowRect() {
        RECT rect{};
        GetWindowRect(clock->hwnd(), &rect);
        return rect;
    }
    LONG_PTR exStyle() { return GetWindowLongPtrW(clock->hwnd(), GWL_EXSTYLE); }

    void TearDown() override {
        clock.reset();
        dialogs::setShutdownRequest(nullptr);
    }
};

core::ClockSettings withAlarm(const char* time, std::int32_t enabled,
                              const std::wstring& reminder) {
    core::ClockSettings settings;
    settings.alarms.assign({{enabled, time, win::wideToAnsi(reminder)}}, win::isAnsiLeadByte);
    return settings;
}

const wchar_t* const countdownCaption = L"自动关机提示";

std::size_t countdownCount() {
    return dialogsCaptioned(countdownCaption).size();
}

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
    EXPECT_EQ(static_cast<DWORD>(exStyle()), clock->modes().savedExStyle());
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
    SendMessageW(clock->hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageW(clock->hwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageW(clock->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(clock->hwnd(), WM_CLOSE, 0, 0);
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
    core::ClockSettings settings;
    settings.clickThrough = 1;
    start(settings);
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT);
    const DWORD startStyle = clock->modes().savedExStyle();
    EXPECT_FALSE(startStyle & WS_EX_TRANSPARENT);
    command(ID_CLICK_THROUGH);
    EXPECT_EQ(static_cast<DWORD>(exStyle()), startStyle);
    EXPECT_EQ(saved().clickThrough, 0);
    command(ID_CLICK_THROUGH);
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT);
    EXPECT_EQ(saved().clickThrough, 1);
}

TEST_F(ClockWindowTest, UnknownStyleIndexShowsTheFirstLook) {
    core::ClockSettings settings;
    settings.styleIndex = 77;
    start(settings);
    EXPECT_EQ(clock->settings().styleIndex, 0);
    EXPECT_NE(clock->skin().image(render::FaceSlot), nullptr);
    EXPECT_EQ(clock->skin().size(render::HourSlot).height, 81);
}

namespace {
// Writes a built-in "PNG" resource out as a file, to stand in for the user's own images.
void exportPng(int resourceId, const std::wstring& path) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"PNG");
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
    writeFile(path, std::vector<unsigned char>(bytes, bytes + SizeofResource(module, resource)));
}
} // namespace

TEST_F(ClockWindowTest, CustomLookLoadsTheUsersFilesFromAChinesePath) {
    const std::wstring folder = scratch.file(L"我的表盘");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
    exportPng(IDR_PNG_FACE2, folder + L"\\表盘.png");
    exportPng(IDR_PNG_HOUR1, folder + L"\\时针.png");
    exportPng(IDR_PNG_MINUTE1, folder + L"\\分针.png");
    core::ClockSettings settings;
    settings.styleIndex = 5;
    settings.customFacePath = win::wideToAnsi(folder + L"\\表盘.png");
    settings.customHourPath = win::wideToAnsi(folder + L"\\时针.png");
    settings.customMinutePath = win::wideToAnsi(folder + L"\\分针.png");
    settings.customSecondPath = win::wideToAnsi(folder + L"\\没有这个文件.png");
    writeSettings(settings);
    ASSERT_EQ(GetACP(), 936u);
    // The stored bytes name the file: the test's own path survives code page 936.
    ASSERT_NE(render::loadImageFile(win::ansiToWide(settings.customFacePath)), nullptr);
    start();
    EXPECT_EQ(clock->settings().styleIndex, 5);
    EXPECT_EQ(clock->skin().size(render::FaceSlot).width, 130);
    EXPECT_EQ(clock->skin().size(render::HourSlot).height, 81);
    EXPECT_EQ(clock->skin().size(render::MinuteSlot).height, 90);
    // A missing hand or case simply is not drawn.
    EXPECT_EQ(clock->skin().image(render::SecondSlot), nullptr);
    EXPECT_EQ(clock->skin().image(render::CaseSlot), nullptr);
    // The user's files are drawn as they are, at every DPI.
    EXPECT_EQ(clock->skin().doubleArt(), nullptr);
    EXPECT_TRUE(clock->renderClock(100));
}

TEST_F(ClockWindowTest, CustomLookWithoutAFaceFallsBackToTheFirstLook) {
    core::ClockSettings settings;
    settings.styleIndex = 5;
    start(settings);
    EXPECT_EQ(clock->settings().styleIndex, 0);
    EXPECT_EQ(saved().styleIndex, 0);
}

TEST_F(ClockWindowTest, CustomFaceThatIsNoImageShowsTheFirstLookButKeepsTheChoice) {
    writeFile(scratch.file(L"face.png"), std::vector<unsigned char>(500, 'x'));
    core::ClockSettings settings;
    settings.styleIndex = 5;
    settings.customFacePath = win::wideToAnsi(scratch.file(L"face.png"));
    start(settings);
    EXPECT_NE(clock->skin().image(render::FaceSlot), nullptr);
    EXPECT_EQ(clock->skin().size(render::HourSlot).height, 81);
    EXPECT_EQ(windowRect().right - windowRect().left, 130);
    // The user's choice and paths stay stored.
    EXPECT_EQ(saved().styleIndex, 5);
    EXPECT_EQ(saved().customFacePath, settings.customFacePath);
}

// --- Drawing --------------------------------------------------------------------------------

TEST_F(ClockWindowTest, ConstantAlphaFollowsTheOpacityAndOutOfRangeDrawsFull) {
    start();
    const int percents[] = {100, 120, -5, 80, 20, 90};
    const int alphas[] = {254, 254, 254, 204, 51, 229};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(clock->renderClock(percents[i]));
        EXPECT_EQ(clock->canvas().blend().SourceConstantAlpha, alphas[i]) << percents[i];
    }
}

namespace {
// A built-in sound still plays when a request that must not interrupt it is refused. The probe
// stops whatever it finds (or starts) so the next look starts from silence.
bool builtInSoundPlaying() {
    const bool refused = !PlaySoundW(MAKEINTRESOURCEW(IDR_WAVE_ALARM), GetModuleHandleW(nullptr),
                                     SND_RESOURCE | SND_ASYNC | SND_NOSTOP);
    PlaySoundW(nullptr, nullptr, 0);
    return refused;
}
} // namespace

TEST_F(ClockWindowTest, ChimeSoundsAtTheFullHourOnlyWhenOnAndReachedLive) {
    FixedTime time(10, 59, 59);
    start();
    ASSERT_FALSE(builtInSoundPlaying());
    time.set(11, 0, 0);
    clock->renderClock(100);
    EXPECT_TRUE(builtInSoundPlaying());
    for (const auto& t : {std::array<int, 3>{11, 0, 1}, std::array<int, 3>{11, 1, 0}}) {
        time.set(t[0], t[1], t[2]);
        clock->renderClock(100);
        EXPECT_FALSE(builtInSoundPlaying()) << t[1] << ":" << t[2];
    }
    for (const std::int32_t setting : {0, 2}) {
        clock->settings().hourlyChime = setting;
        time.set(11, 59, 59);
        clock->renderClock(100);
        time.set(12, 0, 0);
        clock->renderClock(100);
        EXPECT_FALSE(builtInSoundPlaying()) << setting;
    }
    // An hour that came while the computer slept.
    clock->settings().hourlyChime = 1;
    time.set(12, 30, 0);
    clock->renderClock(100);
    time.set(13, 0, 1);
    clock->renderClock(100);
    EXPECT_FALSE(builtInSoundPlaying());
}

TEST_F(ClockWindowTest, NoFramesWhileTheDisplayIsOffOrTheSessionLocked) {
    struct PowerSetting {
        GUID setting;
        DWORD dataLength;
        DWORD state;
    };
    const GUID displayState = {
        0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    PowerSetting off{displayState, sizeof(DWORD), 0}, on{displayState, sizeof(DWORD), 1};
    struct Change {
        UINT message;
        WPARAM hide, show;
        LPARAM hideData, showData;
    };
    const Change changes[] = {
        {ui::SessionChangeMessage, 7 /* lock */, 8 /* unlock */, 0, 0},
        {WM_POWERBROADCAST, ui::PowerSettingChange, ui::PowerSettingChange,
         reinterpret_cast<LPARAM>(&off), reinterpret_cast<LPARAM>(&on)},
    };
    FixedTime time(9, 0, 0);
    start();
    for (const Change& change : changes) {
        time.set(9, 0, 0);
        clock->renderClock(100);
        const core::FrameKey before = clock->canvas().shown();
        SendMessageW(clock->hwnd(), change.message, change.hide, change.hideData);
        time.set(9, 0, 5);
        clock->onTick(core::RedrawTimer);
        EXPECT_TRUE(clock->canvas().shown() == before) << change.message;
        // Seen again: the time of now at once, without waiting for a tick.
        SendMessageW(clock->hwnd(), change.message, change.show, change.showData);
        EXPECT_FALSE(clock->canvas().shown() == before) << change.message;
    }
}

TEST_F(ClockWindowTest, FramesAndTicksHoldTheObjectCountsSteady) {
    FixedTime time(8, 15, 30);
    start();
    clock->renderClock(100);
    const DWORD gdiAfterFirst = gdiObjects();
    const DWORD userAfterFirst = userObjects();
    ASSERT_GT(gdiAfterFirst, 0u);
    ASSERT_GT(userAfterFirst, 0u);
    {
        // The count must see a leak: one brush more is one object more.
        win::UniqueBrush probe(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_EQ(gdiObjects(), gdiAfterFirst + 1);
    }
    for (int i = 0; i < 2000; ++i)
        clock->renderClock(100 - (i % 9) * 10);
    EXPECT_EQ(gdiObjects(), gdiAfterFirst);
    for (int i = 0; i < 10000; ++i) {
        time.set(8, 15 + (i / 60) % 40, i % 60);
        clock->onTick(core::RedrawTimer);
        clock->onTick(core::ClockCheckTimer);
    }
    EXPECT_EQ(gdiObjects(), gdiAfterFirst);
    EXPECT_EQ(userObjects(), userAfterFirst);
}

// --- The tick ------------------------------------------------------------------------------

TEST_F(ClockWindowTest, DueAlarmPostsItsBalloonAndOthersStaySilent) {
    FixedTime time(7, 30, 0);
    start(withAlarm("07:30:00", 1, L"起床"));
    clock->onTick(core::ClockCheckTimer);
    const NOTIFYICONDATAW& record = clock->trayIcon().record();
    EXPECT_EQ(std::wstring(record.szInfo), L"现在是北京时间：07:30:00\n\n起床");
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"〓〓〓〓〓 提 醒 〓〓〓〓〓：");
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    // Firing leaves the entry as it was: it rings again tomorrow.
    EXPECT_EQ(clock->settings().alarms.entry(0).enabled, 1);
}

TEST_F(ClockWindowTest, DisabledAlarmsNeverFire) {
    for (const std::int32_t enabled : {0, 2}) {
        FixedTime time(7, 30, 0);
        start(withAlarm("07:30:00", enabled, L"不响"));
        clock->onTick(core::ClockCheckTimer);
        EXPECT_EQ(std::wstring(clock->trayIcon().record().szInfo), L"") << enabled;
        clock.reset();
    }
}

TEST_F(ClockWindowTest, LateTickFiresTheAlarmsOfSkippedSecondsInOneBalloon) {
    FixedTime time(7, 29, 58);
    core::ClockSettings settings;
    settings.alarms.assign({{1, "07:30:00", win::wideToAnsi(L"迟到的闹铃")}, {1, "07:30:01", "b"}},
                           win::isAnsiLeadByte);
    start(settings);
    clock->onTick(core::ClockCheckTimer);
    time.set(7, 30, 2); // the thread was busy for four seconds
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szInfo),
              L"现在是北京时间：07:30:01\n\n07:30:00 迟到的闹铃\n07:30:01 b");
}

TEST_F(ClockWindowTest, ClockJumpChecksOnlyTheCurrentSecond) {
    FixedTime time(9, 0, 0);
    start(withAlarm("08:59:30", 1, L"x"));
    clock->onTick(core::ClockCheckTimer);
    time.set(8, 59, 0); // set back: the half minute in between is not replayed
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szInfo), L"");
}

TEST_F(ClockWindowTest, AJumpRingsWhatIsLateListsWhatIsMissedAndNothingRingsTwice) {
    FixedTime time(6, 50, 0);
    core::ClockSettings settings;
    settings.alarms.assign({{1, "06:55:00", "a"}, {1, "07:00:00", "b"}}, win::isAnsiLeadByte);
    settings.shutdown = {1, 0, "06:58:00"};
    start(settings);
    clock->onTick(core::ClockCheckTimer);
    const core::FrameKey before = clock->canvas().shown();
    time.set(7, 12, 0); // asleep for 22 minutes, or the clock set forward
    SendMessageW(clock->hwnd(), WM_TIMECHANGE, 0, 0);
    EXPECT_FALSE(clock->canvas().shown() == before) << "the new time at once";
    const auto& record = clock->trayIcon().record();
    EXPECT_EQ(std::wstring(record.szInfo),
              L"现在是北京时间：07:12:00\n\nb\n（闹铃时间 07:00:00，晚了 12 分钟）\n\n"
              L"错过的闹铃：\n06:55:00 a\n自动关机 06:58:00 未执行");
    EXPECT_EQ(countdownCount(), 0u);
    EXPECT_EQ(clock->settings().shutdown.shutdownEnabled, 1); // a once-only one stays armed
    EXPECT_NE(std::wstring(record.szTip).find(L"错过的闹铃：\n06:55:00 a"), std::wstring::npos);
    // Opening the menu shows the user the clock: the tip forgets the list.
    win::UniqueMenu menu(CreatePopupMenu());
    SendMessageW(clock->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);
    EXPECT_EQ(std::wstring(record.szTip).find(L"错过"), std::wstring::npos);
    // Set back over 07:00:00, which already rang today.
    clock->trayIcon().showBalloon(L"", L"");
    time.set(6, 59, 59);
    clock->onTick(core::ClockCheckTimer);
    time.set(7, 0, 0);
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(std::wstring(record.szInfo), L"");
}

TEST_F(ClockWindowTest, LongReminderIsCutToTheBalloon) {
    FixedTime time(6, 0, 0);
    // The longest reminder the table holds (257 bytes) no longer fits the balloon's 255 units.
    start(withAlarm("06:00:00", 1, std::wstring(257, L'r')));
    clock->onTick(core::ClockCheckTimer);
    const std::wstring text = clock->trayIcon().record().szInfo;
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 19), L"现在是北京时间：06:00:00\n\nr");
    EXPECT_EQ(text.back(), L'r');
}

// --- Tray icon -----------------------------------------------------------------------------

TEST_F(ClockWindowTest, TrayTipShowsTheDateAndIsRefreshedOnlyByPointing) {
    FixedTime time(9, 0, 0);
    start();
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szTip), L"Veltrano\n\n2026年12月7日 星期一");
    EXPECT_EQ(clock->trayIcon().record().uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    time.time() = {2027, 1, 3, 0, 9, 0, 0, 0};
    clock->onTick(core::RedrawTimer);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szTip), L"Veltrano\n\n2026年12月7日 星期一");
    // Another icon's notification is answered with 1 and changes nothing.
    EXPECT_EQ(SendMessageW(clock->hwnd(), WM_USER + 1, 77, WM_MOUSEMOVE), 1);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szTip), L"Veltrano\n\n2026年12月7日 星期一");
    EXPECT_EQ(SendMessageW(clock->hwnd(), WM_USER + 1, 128, WM_MOUSEMOVE), 0);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szTip), L"Veltrano\n\n2027年1月3日 星期日");
}

TEST_F(ClockWindowTest, BalloonLeavesTheTipAndARecreatedTaskbarGetsTheIconBack) {
    FixedTime time(7, 30, 0);
    start(withAlarm("07:30:00", 1, L"提醒"));
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(std::wstring(clock->trayIcon().record().szTip), L"Veltrano\n\n2026年12月7日 星期一");
    SendMessageW(clock->hwnd(), app::taskbarCreatedMessage(), 0, 0);
    // Added again with its tip, so the icon (and its menu) is there for the user.
    EXPECT_EQ(clock->trayIcon().record().uFlags,
              static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_TRUE(clock->trayIcon().refreshTip());
}

namespace {
// True while the shell still has an icon 128 of `owner`: changing it succeeds only then.
bool trayIconPresent(HWND owner) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
    probe.hWnd = owner;
    probe.uID = IDN_TRAY_ICON;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}
} // namespace

TEST_F(ClockWindowTest, TrayIconGoesWithTheWindowAndWithTheSession) {
    start();
    const HWND first = clock->hwnd();
    ASSERT_TRUE(trayIconPresent(first));
    DestroyWindow(first);
    EXPECT_FALSE(trayIconPresent(first));
    clock.reset();

    start();
    ASSERT_TRUE(trayIconPresent(clock->hwnd()));
    clock->settings().styleIndex = 2; // not yet saved
    SendMessageW(clock->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(trayIconPresent(clock->hwnd()));
    EXPECT_EQ(saved().styleIndex, 2);
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
    HWND about = nullptr;
    HWND elsewhere = nullptr;
    HWND foreground = nullptr;
    {
        LaterOnThisThread inTheDialog([&] {
            if (!elsewhere) {
                about = findDialog(L"关于 Veltrano");
                if (!about)
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

TEST_F(ClockWindowTest, FailedSaveIsReportedOnceUntilASaveSucceeds) {
    // Nothing can be written: the temporary file is taken and there is no file to rewrite.
    const std::wstring blocker =
        scratch.file(L"Settings.def.") + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    CreateDirectoryW(blocker.c_str(), nullptr);
    start();
    auto balloon = [&] { return std::wstring(clock->trayIcon().record().szInfo); };
    // The saves at start-up failed before the icon was there; the balloon waited for it.
    EXPECT_NE(balloon().find(scratch.file(L"Settings.def")), std::wstring::npos) << balloon();
    EXPECT_TRUE(IsWindow(clock->hwnd()));

    clock->trayIcon().showBalloon(L"other", L"title");
    command(ID_ALWAYS_ON_TOP); // fails again: no second report
    EXPECT_EQ(balloon(), L"other");

    RemoveDirectoryW(blocker.c_str());
    command(ID_ALWAYS_ON_TOP); // succeeds
    EXPECT_EQ(balloon(), L"other");
    DeleteFileW(scratch.file(L"Settings.def").c_str());
    CreateDirectoryW(blocker.c_str(), nullptr);
    command(ID_ALWAYS_ON_TOP); // fails after a success: reported again
    EXPECT_NE(balloon().find(L"Settings.def"), std::wstring::npos);
    RemoveDirectoryW(blocker.c_str());
}

// --- Alarm sound file ----------------------------------------------------------------------

TEST_F(ClockWindowTest, ReopeningTheSoundFileReplacesTheHiddenPlayerWindow) {
    writeSilentWave(scratch.file(L"tone.wav"), 3);
    core::ClockSettings settings;
    settings.alarmSoundPath = win::wideToAnsi(scratch.file(L"tone.wav"));
    start(settings);
    sound::AlarmSoundPlayer& player = clock->soundPlayer();
    ASSERT_TRUE(player.hasPlayer()); // opened at start-up, long before any alarm
    const HWND first = player.playerWindow();
    EXPECT_EQ(GetParent(first), clock->hwnd());
    ASSERT_TRUE(player.play());
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(player.reopen(L""));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(player.hasPlayer());
    EXPECT_FALSE(player.reopen(scratch.file(L"missing.wav")));
    EXPECT_FALSE(player.hasPlayer());
}

// --- Shutdown countdown ---------------------------------------------------------------------

struct ShutdownCase {
    std::int32_t repeat;
    bool armedAfterCancel;
};

class ShutdownCancelTest : public ClockWindowTest,
                           public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(ShutdownCancelTest, CancelClearsPendingAndDisarmsOnlyAOnceSchedule) {
    FixedTime time(22, 0, 0);
    core::ClockSettings settings;
    settings.shutdown = {1, GetParam().repeat, "22:00:00"};
    start(settings);
    bool sawTopmost = false;
    std::size_t countdownsShown = 0;
    const auto tick = [&] { clock->onTick(core::ClockCheckTimer); };
    ASSERT_TRUE(inDialog(countdownCaption, tick, [&](HWND countdown) {
        countdownsShown = countdownCount();
        sawTopmost = (exStyle() & WS_EX_TOPMOST) != 0;
        EXPECT_TRUE(clock->check().shutdownPending());
        PostMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_TRUE(sawTopmost);
    EXPECT_EQ(countdownsShown, 1u);
    EXPECT_FALSE(clock->check().shutdownPending());
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
    const bool armed = GetParam().armedAfterCancel;
    EXPECT_EQ(clock->settings().shutdown.shutdownEnabled, armed ? 1 : 0);
    EXPECT_EQ(clock->settings().shutdown.shutdownTime, armed ? "22:00:00" : "");
    EXPECT_EQ(saved().shutdown.shutdownEnabled, armed ? 1 : 0);
    EXPECT_EQ(saved().shutdown.shutdownTime, armed ? "22:00:00" : "");
}

INSTANTIATE_TEST_SUITE_P(Schedules, ShutdownCancelTest,
                         ::testing::Values(ShutdownCase{0, false}, ShutdownCase{1, true}),
                         [](const ::testing::TestParamInfo<ShutdownCase>& info) {
                             return std::string(info.param.repeat ? "Always" : "Once");
                         });

TEST_F(ClockWindowTest, NestedTickDuringTheCountdownFiresAlarmsButNoSecondCountdown) {
    FixedTime time(22, 0, 0);
    core::ClockSettings settings = withAlarm("22:00:00", 1, L"关机前");
    settings.shutdown = {1, 1, "22:00:00"};
    start(settings);
    std::size_t countdownsSeen = 0;
    std::wstring balloonInside;
    const auto tick = [&] { clock->onTick(core::ClockCheckTimer); };
    ASSERT_TRUE(inDialog(countdownCaption, tick, [&](HWND countdown) {
        tick(); // the tick runs again inside the countdown's loop
        balloonInside = clock->trayIcon().record().szInfo;
        countdownsSeen = countdownCount();
        PostMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(countdownsSeen, 1u);
    EXPECT_EQ(balloonInside, L"现在是北京时间：22:00:00\n\n关机前");
}

TEST(ShutdownCountdown, CountsFromTwentyAndEndsWithOKAfterTheLastStep) {
    dialogs::setShutdownRequest([](UINT, DWORD) { return FALSE; });
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    ASSERT_TRUE(IsWindow(dialog.hwnd()));
    EXPECT_EQ(dialog.remainingSeconds(), 20u);
    ShowWindow(dialog.hwnd(), SW_SHOW);
    UpdateWindow(dialog.hwnd()); // the first paint shows 20 and counts it
    EXPECT_EQ(dialog.remainingSeconds(), 19u);
    for (unsigned step = 0; step < 19; ++step)
        SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(dialog.remainingSeconds(), 0u);
    EXPECT_TRUE(IsWindow(dialog.hwnd()));
    SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(dialog.endResult(), IDOK);
    dialogs::setShutdownRequest(nullptr);
}

TEST(ShutdownCountdown, EscapeCancels) {
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog.endResult(), IDCANCEL);
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
        int checked = 0;
        int checkedAt = -1;
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

TEST_F(ClockWindowTest, StyleAndOpacityCommandsApplyAndSave) {
    start();
    command(ID_STYLE2);
    EXPECT_EQ(saved().styleIndex, 1);
    EXPECT_EQ(clock->skin().size(render::HourSlot).height, 72);
    command(ID_STYLE4);
    EXPECT_EQ(clock->skin().size(render::HourSlot).width, 12);
    command(ID_OPACITY_20);
    EXPECT_EQ(saved().opacityIndex, 4);
    EXPECT_EQ(clock->fade().displayedOpacity(), 20);
    EXPECT_EQ(clock->canvas().blend().SourceConstantAlpha, 51);
}

TEST_F(ClockWindowTest, LockRecordsThePlaceAndDraggingNeverDoes) {
    start();
    SetWindowPos(clock->hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    clock->saveSettings();
    // A move is not a recorded place.
    EXPECT_EQ(saved().windowLeft, GetSystemMetrics(SM_CXSCREEN) - 140);
    command(ID_LOCK_POSITION);
    EXPECT_EQ(saved().lockPosition, 1);
    EXPECT_EQ(saved().windowLeft, 300);
    EXPECT_EQ(saved().windowTop, 200);
    SetWindowPos(clock->hwnd(), nullptr, 310, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    command(ID_LOCK_POSITION); // unlocking records too
    EXPECT_EQ(saved().lockPosition, 0);
    EXPECT_EQ(saved().windowLeft, 310);
}

TEST_F(ClockWindowTest, AlwaysOnTopRestacks) {
    start();
    command(ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(saved().alwaysOnTop, 1);
    command(ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(saved().alwaysOnTop, 0);
    // Not merely out of the topmost band: behind every other window.
    EXPECT_EQ(GetWindow(clock->hwnd(), GW_HWNDLAST), clock->hwnd());
}

TEST_F(ClockWindowTest, ExitSavesAndEndsTheWindow) {
    start();
    clock->settings().styleIndex = 3; // changed without a save of its own
    command(ID_EXIT);
    EXPECT_FALSE(IsWindow(clock->hwnd()));
    EXPECT_EQ(clock->endResult(), IDCANCEL);
    EXPECT_EQ(saved().styleIndex, 3);
}

// --- Hover fade ----------------------------------------------------------------------------

namespace {
// The redraw and fade timers whose messages reach the clock in a while (they are taken from the
// queue, not handled, so the fade does not move meanwhile).
std::set<UINT_PTR> runningDrawTimers(HWND clock) {
    std::set<UINT_PTR> seen;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < core::RedrawPeriodMs + 150) {
        MSG message;
        while (PeekMessageW(&message, clock, WM_TIMER, WM_TIMER, PM_REMOVE))
            if (message.wParam != core::ClockCheckTimer)
                seen.insert(message.wParam);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    return seen;
}
const std::set<UINT_PTR> onlyRedraw{core::RedrawTimer};
const std::set<UINT_PTR> onlyFadeIn{core::FadeInTimer};
const std::set<UINT_PTR> onlyFadeOut{core::FadeOutTimer};
} // namespace

// The fade's steps are the core's; the window runs them on the fade timer and hands back to the
// redraw timer one tick after the last.
TEST_F(ClockWindowTest, FadeFromTwentyToFullTakesEightStepsAndOneMoreTick) {
    core::ClockSettings settings;
    settings.opacityIndex = 4;
    start(settings);
    SendMessageW(clock->hwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyFadeIn);
    for (int step = 1; step <= 8; ++step)
        clock->onTick(core::FadeInTimer);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyFadeIn);
    clock->onTick(core::FadeInTimer);
    EXPECT_EQ(clock->fade().displayedOpacity(), 100);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyRedraw);
}

TEST_F(ClockWindowTest, LeavingMidFadeTurnsBackFromTheValueReached) {
    core::ClockSettings settings;
    settings.opacityIndex = 4;
    start(settings);
    SendMessageW(clock->hwnd(), WM_MOUSEHOVER, 0, 0);
    for (int step = 0; step < 3; ++step)
        clock->onTick(core::FadeInTimer);
    ASSERT_EQ(clock->fade().displayedOpacity(), 50);
    SendMessageW(clock->hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyFadeOut);
    clock->onTick(core::FadeOutTimer);
    EXPECT_EQ(clock->fade().displayedOpacity(), 40);
    SendMessageW(clock->hwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyFadeIn);
    clock->onTick(core::FadeInTimer);
    EXPECT_EQ(clock->fade().displayedOpacity(), 50);
}

TEST_F(ClockWindowTest, AtFullOpacityHoverAndLeaveChangeNothing) {
    start();
    SendMessageW(clock->hwnd(), WM_MOUSEHOVER, 0, 0);
    SendMessageW(clock->hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(runningDrawTimers(clock->hwnd()), onlyRedraw);
    EXPECT_EQ(clock->fade().displayedOpacity(), 100);
}
