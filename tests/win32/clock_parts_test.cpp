// The parts through which the clock reaches Windows, each on its own: the look's images, the
// layered canvas, the tray icon's record, the sound file player, the display's power setting
// and the shutdown countdown.
#include "dialogs/shutdown_countdown_dialog.h"
#include "dialogs/system_shutdown.h"
#include "render/clock_canvas.h"
#include "render/skin_images.h"
#include "sound/alarm_sound_player.h"
#include "ui/display_watch.h"
#include "ui/tray_icon.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A plain popup window to hang the parts on, gone with the test.
struct HostWindow {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 100, 130, 130, nullptr, nullptr,
                                nullptr, nullptr);
    ~HostWindow() { DestroyWindow(hwnd); }
};

HMODULE module() {
    return GetModuleHandleW(nullptr);
}

// Writes a built-in "PNG" resource out as a file, to stand in for the user's own images.
void exportPng(int resourceId, const std::wstring& path) {
    HRSRC resource = FindResourceW(module(), MAKEINTRESOURCEW(resourceId), L"PNG");
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(module(), resource)));
    writeFile(path, std::vector<unsigned char>(bytes, bytes + SizeofResource(module(), resource)));
}

} // namespace

TEST(SkinImagesStyles, EachLookLoadsItsOwnHandsAndDoubleArtAndAnUnknownIndexTheFirst) {
    render::SkinImages skin;
    const core::ClockSettings settings;
    EXPECT_EQ(skin.applyStyle(module(), 1, settings), 1);
    EXPECT_EQ(skin.size(render::HourSlot).height, 72);
    EXPECT_EQ(skin.applyStyle(module(), 3, settings), 3);
    EXPECT_EQ(skin.size(render::HourSlot).width, 12);
    for (int style = 0; style < core::StyleCount; ++style) {
        skin.applyStyle(module(), style, settings);
        EXPECT_NE(skin.doubleArt(), nullptr) << style;
    }
    EXPECT_EQ(skin.applyStyle(module(), 77, settings), 0);
    EXPECT_NE(skin.image(render::FaceSlot), nullptr);
    EXPECT_EQ(skin.size(render::HourSlot).height, 81);
}

TEST(SkinImagesStyles, CustomLookLoadsTheUsersFilesFromAChinesePath) {
    ScratchDirectory scratch;
    const std::wstring folder = scratch.file(L"我的表盘");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
    exportPng(IDR_PNG_FACE2, folder + L"\\表盘.png");
    exportPng(IDR_PNG_HOUR1, folder + L"\\时针.png");
    exportPng(IDR_PNG_MINUTE1, folder + L"\\分针.png");
    core::ClockSettings settings;
    settings.customFacePath = win::wideToAnsi(folder + L"\\表盘.png");
    settings.customHourPath = win::wideToAnsi(folder + L"\\时针.png");
    settings.customMinutePath = win::wideToAnsi(folder + L"\\分针.png");
    settings.customSecondPath = win::wideToAnsi(folder + L"\\没有这个文件.png");
    ASSERT_EQ(GetACP(), 936u);
    render::SkinImages skin;
    EXPECT_EQ(skin.applyStyle(module(), core::CustomStyleIndex, settings), 5);
    EXPECT_EQ(skin.size(render::FaceSlot).width, 130);
    EXPECT_EQ(skin.size(render::HourSlot).height, 81);
    EXPECT_EQ(skin.size(render::MinuteSlot).height, 90);
    // A missing hand or case simply is not drawn; the user's files are drawn as they are.
    EXPECT_EQ(skin.image(render::SecondSlot), nullptr);
    EXPECT_EQ(skin.image(render::CaseSlot), nullptr);
    EXPECT_EQ(skin.doubleArt(), nullptr);
}

TEST(SkinImagesStyles, CustomLookWithoutAUsableFaceShowsTheFirstLook) {
    ScratchDirectory scratch;
    core::ClockSettings settings;
    render::SkinImages skin;
    EXPECT_EQ(skin.applyStyle(module(), core::CustomStyleIndex, settings), 0);
    // A face that is no image shows the first look but keeps the user's choice.
    writeFile(scratch.file(L"face.png"), std::vector<unsigned char>(500, 'x'));
    settings.customFacePath = win::wideToAnsi(scratch.file(L"face.png"));
    EXPECT_EQ(skin.applyStyle(module(), core::CustomStyleIndex, settings), 5);
    EXPECT_NE(skin.image(render::FaceSlot), nullptr);
    EXPECT_EQ(skin.size(render::HourSlot).height, 81);
}

TEST(ClockCanvasAlpha, ConstantAlphaFollowsTheOpacityAndOutOfRangeDrawsFull) {
    HostWindow host;
    render::SkinImages skin;
    skin.applyStyle(module(), 0, core::ClockSettings());
    render::ClockCanvas canvas(skin);
    ASSERT_TRUE(canvas.load());
    const int percents[] = {100, 120, -5, 80, 20, 90};
    const int alphas[] = {254, 254, 254, 204, 51, 229};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(canvas.show(host.hwnd, core::LocalTime{}, 1.0f, true, percents[i]));
        EXPECT_EQ(canvas.blend().SourceConstantAlpha, alphas[i]) << percents[i];
    }
}

TEST(TrayIconRecord, BalloonIsAnInfoBalloonCutToItsFieldAndLeavesTheTip) {
    HostWindow host;
    ui::TrayIcon tray;
    tray.attach(host.hwnd, module());
    tray.add(L"Veltrano\n\n2026年12月7日 星期一");
    // The longest reminder the table holds (257 bytes) no longer fits the balloon's 255 units.
    tray.showBalloon(L"现在是北京时间：06:00:00\n\n" + std::wstring(257, L'r'), L"title");
    const NOTIFYICONDATAW& record = tray.record();
    EXPECT_EQ(std::wstring(record.szInfo).size(), 255u);
    EXPECT_EQ(record.szInfo[254], L'r');
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(std::wstring(record.szTip), L"Veltrano\n\n2026年12月7日 星期一");
    EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
}

TEST(AlarmSoundPlayerWindow, ReopeningTheSoundFileReplacesTheHiddenPlayerWindow) {
    ScratchDirectory scratch;
    writeSilentWave(scratch.file(L"tone.wav"), 3);
    HostWindow host;
    sound::AlarmSoundPlayer player(host.hwnd, module());
    ASSERT_TRUE(player.reopen(scratch.file(L"tone.wav")));
    const HWND first = player.playerWindow();
    EXPECT_EQ(GetParent(first), host.hwnd);
    ASSERT_TRUE(player.play());
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(player.reopen(L""));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(player.hasPlayer());
    EXPECT_FALSE(player.reopen(scratch.file(L"missing.wav")));
    EXPECT_FALSE(player.hasPlayer());
}

TEST(DisplayPowerSetting, OffAndOnAreReadFromBothSettingsAndOthersIgnored) {
    struct PowerSetting {
        GUID setting;
        DWORD dataLength;
        DWORD state;
    };
    const GUID console = {
        0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    const GUID monitor = {
        0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
    const GUID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    for (const GUID& setting : {console, monitor}) {
        PowerSetting off{setting, sizeof(DWORD), 0}, on{setting, sizeof(DWORD), 1},
            dimmed{setting, sizeof(DWORD), 2};
        EXPECT_EQ(ui::displayOnFromPowerSetting(&off), false);
        EXPECT_EQ(ui::displayOnFromPowerSetting(&on), true);
        EXPECT_EQ(ui::displayOnFromPowerSetting(&dimmed), true);
    }
    PowerSetting foreign{other, sizeof(DWORD), 0};
    EXPECT_FALSE(ui::displayOnFromPowerSetting(&foreign).has_value());
    EXPECT_FALSE(ui::displayOnFromPowerSetting(nullptr).has_value());
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

TEST(ShutdownCountdown, AStepLongAfterTheLastEndsItWithoutAShutdown) {
    int requests = 0;
    dialogs::setShutdownRequest([&](UINT, DWORD) { return ++requests, TRUE; });
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    // The computer slept: the next step comes long after the last one.
    Sleep(5100);
    SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
    EXPECT_TRUE(dialog.interrupted());
    EXPECT_EQ(dialog.endResult(), IDCANCEL);
    EXPECT_EQ(requests, 0);
    dialogs::setShutdownRequest(nullptr);
}
