// The shutdown request on the Windows versions it is made on. Copies of this program run with
// Wine presenting Windows XP, 7 and 10 to them; each is told which one it should see.
#include "core/clock_timers.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "dialogs/system_shutdown.h"
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

class ShutdownRequest : public ::testing::Test, public ClockUnderTest {
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
    void TearDown() override {
        clock.reset();
        dialogs::setShutdownRequest(nullptr);
    }

    struct Request {
        UINT flags;
        DWORD reason;
        DWORD at;
    };
    // A clock whose daily shutdown is due at the fixed time, 21:00:00.
    void startClockWithShutdownDueNow() {
        core::ClockSettings settings;
        settings.shutdown = {1, 1, "21:00:00"};
        ASSERT_TRUE(start(settings));
    }

    std::vector<Request> requests;
    bool accept = true;
    FixedTime time{21, 0, 0};
};

const wchar_t* const countdownCaption = L"自动关机提示";

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
    startClockWithShutdownDueNow();
    DWORD appeared = 0;
    {
        // Notes when the countdown first shows, from inside its own modal loop.
        DialogWatch watch(countdownCaption, [&](HWND) {
            if (!appeared)
                appeared = GetTickCount();
        });
        wake();
    }

    ASSERT_EQ(requests.size(), 1u);
    ASSERT_NE(appeared, 0u);
    const DWORD elapsed = requests[0].at - appeared;
    EXPECT_GE(elapsed, 19000u);
    EXPECT_LE(elapsed, 21500u);
    // A requested shutdown stays pending: no second countdown in that second.
    wake();
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(ShutdownRequest, RefusedShutdownIsReportedAndADailyScheduleComesDueAgain) {
    startClockWithShutdownDueNow();
    MessageBoxCapture messages;
    accept = false;
    // "立即关机" as soon as the countdown shows, from inside its modal loop.
    DialogWatch pressShutdownNow(
        countdownCaption, [](HWND countdown) { SendMessageW(countdown, WM_COMMAND, IDOK, 0); });

    wake();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(messages.texts, std::vector<std::wstring>{clockwork::ShutdownRefusedMessage});
    // Not again that day, also when the clock is set back over it, but on the next day.
    wake();
    time.set(20, 59, 59);
    wake();
    time.set(21, 0, 0);
    wake();
    EXPECT_EQ(requests.size(), 1u);
    ++time.time().day;
    time.set(20, 59, 59);
    wake();
    time.set(21, 0, 0);
    wake();
    EXPECT_EQ(requests.size(), 2u);
}
