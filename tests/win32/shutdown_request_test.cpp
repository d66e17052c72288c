// The shutdown request on the Windows versions it is made on. Copies of this program run with
// Wine presenting Windows XP, 7 and 10 to them; each is told which one it should see.
#include "app/clock_window.h"
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "dialogs/system_shutdown.h"
#include "win/message_box.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace testing_support;

namespace {

// "major.minor" as the system reports itself.
std::string reportedVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return "not NT";
    return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
}

class ShutdownRequest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* expected = std::getenv("VELTRANO_EXPECTED_WINDOWS");
        ASSERT_NE(expected, nullptr) << "the test set-up names the version Wine presents";
        ASSERT_EQ(reportedVersion(), expected);
        dialogs::setShutdownRequest([this](UINT flags, DWORD reason) {
            requests.push_back({flags, reason, GetTickCount()});
            return accept ? TRUE : FALSE;
        });
    }
    void TearDown() override { dialogs::setShutdownRequest(nullptr); }

    struct Request {
        UINT flags;
        DWORD reason;
        DWORD at;
    };
    // A clock whose daily shutdown is due at the fixed time, 21:00:00.
    std::unique_ptr<app::ClockWindow> startClockWithShutdownDueNow() {
        core::ClockSettings settings;
        settings.shutdown = {1, 1, "21:00:00"};
        writeFile(scratch.file(L"Settings.def"),
                  core::encodeSettings(settings, win::isAnsiLeadByte));
        auto clock = std::make_unique<app::ClockWindow>(GetModuleHandleW(nullptr));
        clock->createModeless(nullptr);
        return clock;
    }

    std::vector<Request> requests;
    bool accept = true;
    ScratchDirectory scratch;
    FixedTime time{21, 0, 0};
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

TEST_F(ShutdownRequest, ShutdownNowAsksForAForcedPowerOff) {
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].flags, static_cast<UINT>(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF));
    EXPECT_EQ(requests[0].reason, 1u);
    EXPECT_EQ(dialog.endResult(), IDOK);
}

TEST_F(ShutdownRequest, CountdownLeftAloneRequestsTheShutdownTwentySecondsAfterItAppeared) {
    auto clock = startClockWithShutdownDueNow();

    countdownAppeared = 0;
    const UINT_PTR watch = SetTimer(nullptr, 0, 20, noteCountdown);
    clock->onTick(core::ClockCheckTimer);
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

TEST_F(ShutdownRequest, RefusedShutdownIsReportedAndADailyScheduleComesDueAgain) {
    auto clock = startClockWithShutdownDueNow();
    std::vector<std::wstring> messages;
    win::setMessageBoxHook([&](HWND, const std::wstring& text) {
        messages.push_back(text);
        return IDOK;
    });
    accept = false;
    // "立即关机" as soon as the countdown shows, from inside its modal loop.
    LaterOnThisThread pressShutdownNow([] {
        const HWND countdown = visibleCountdown();
        if (countdown)
            SendMessageW(countdown, WM_COMMAND, IDOK, 0);
        return false;
    });

    clock->onTick(core::ClockCheckTimer);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(messages, std::vector<std::wstring>{app::ShutdownRefusedMessage});
    EXPECT_FALSE(clock->check().shutdownPending());
    // Not again within the same second, but at the same time on the next day.
    clock->onTick(core::ClockCheckTimer);
    time.set(21, 0, 1);
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(requests.size(), 1u);
    time.set(21, 0, 0);
    clock->onTick(core::ClockCheckTimer);
    EXPECT_EQ(requests.size(), 2u);
    win::setMessageBoxHook(nullptr);
}
