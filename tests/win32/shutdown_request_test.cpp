// The shutdown request on the Windows versions it is made on. This program runs with Wine
// presenting Windows XP to it.
#include "app/clock_window.h"
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "dialogs/system_shutdown.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

bool reportsWindowsXp() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion == 5;
}

class WindowsXp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(reportsWindowsXp()) << "the test set-up asks Wine to report Windows XP";
        dialogs::setShutdownRequest([this](UINT flags, DWORD reason) {
            requests.push_back({flags, reason, GetTickCount()});
            return TRUE;
        });
    }
    void TearDown() override { dialogs::setShutdownRequest(nullptr); }

    struct Request {
        UINT flags;
        DWORD reason;
        DWORD at;
    };
    std::vector<Request> requests;
};

HWND visibleCountdown() {
    for (HWND dialog : threadWindows(L"#32770")) {
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        if (std::wstring(title) == L"自动关机提示")
            return dialog;
    }
    return nullptr;
}

DWORD countdownAppeared = 0;

// Notes when the countdown first shows, from inside its own modal loop.
void CALLBACK noteCountdown(HWND, UINT, UINT_PTR, DWORD) {
    if (!countdownAppeared && visibleCountdown())
        countdownAppeared = GetTickCount();
}

} // namespace

TEST_F(WindowsXp, ShutdownNowAsksForAForcedPowerOff) {
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].flags, static_cast<UINT>(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF));
    EXPECT_EQ(requests[0].reason, 1u);
    EXPECT_EQ(dialog.endResult(), IDOK);
}

TEST_F(WindowsXp, CountdownLeftAloneRequestsTheShutdownTwentySecondsAfterItAppeared) {
    ScratchDirectory scratch;
    FixedTime time(21, 0, 0);
    core::ClockSettings settings;
    settings.shutdown = {1, 1, "21:00:00"};
    writeFile(scratch.file(L"Settings.def"), core::encodeSettings(settings, win::isAnsiLeadByte));
    auto clock = std::make_unique<app::ClockWindow>(GetModuleHandleW(nullptr));
    clock->createModeless(nullptr);

    countdownAppeared = 0;
    const UINT_PTR watch = SetTimer(nullptr, 0, 20, noteCountdown);
    clock->onTick(core::clockCheckTimer);
    KillTimer(nullptr, watch);
    const DWORD appeared = countdownAppeared;

    ASSERT_EQ(requests.size(), 1u);
    ASSERT_NE(appeared, 0u);
    const DWORD elapsed = requests[0].at - appeared;
    EXPECT_GE(elapsed, 19000u);
    EXPECT_LE(elapsed, 21500u);
    // A requested shutdown stays pending: no second countdown today.
    EXPECT_TRUE(clock->check().shutdownPending());
}
