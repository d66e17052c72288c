// "选项": the zoom follows the slider at once; OK registers or unregisters start with the system
// and saves; Cancel leaves the registry and the file alone.
#include "dialogs/options_dialog.h"
#include "win/program_path.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

using namespace testing_support;

namespace {

const wchar_t* const runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::uint32_t bits(float value) {
    std::uint32_t b = 0;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

void pressRight(HWND dialog) {
    SendMessageW(GetDlgItem(dialog, IDC_ZOOM_SLIDER), WM_KEYDOWN, VK_RIGHT, 0);
}

// The Run value as a text, "(type n)" when it is no REG_SZ, nothing when it is not there.
std::optional<std::wstring> runValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, runKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t data[4096] = {};
    DWORD type = 0;
    DWORD size = sizeof(data) - sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, L"Veltrano", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return type == REG_SZ ? std::wstring(data) : L"(type " + std::to_wstring(type) + L")";
}

class OptionsCommandTest : public ::testing::Test, public ClockUnderTest {
protected:
    // Runs "选项": inside its dialog `act` runs, then `button` is pressed.
    void runOptions(const std::function<void(HWND)>& act, int button) {
        ASSERT_TRUE(inDialog(
            L"设置", [&] { command(ID_OPTIONS); },
            [&](HWND dialog) {
                act(dialog);
                PostMessageW(dialog, WM_COMMAND, button, 0);
            }));
    }
    // The clock goes before the registry sandbox and the capture it might use.
    void TearDown() override { clock.reset(); }

    std::unique_ptr<RegistrySandbox> registry =
        std::make_unique<RegistrySandbox>(HKEY_CURRENT_USER);
    MessageBoxCapture messages;
};

} // namespace

TEST(OptionsDialog, SlidersFirstPaintMendsASenselessZoomAndRightArrowAddsATenth) {
    core::ClockSettings settings;
    settings.zoom = std::numeric_limits<float>::quiet_NaN();
    int changes = 0;
    dialogs::OptionsDialog dialog(GetModuleHandleW(nullptr), settings, [&] { ++changes; });
    dialog.createModeless(nullptr);
    const HWND label = GetDlgItem(dialog.hwnd(), IDC_ZOOM_LABEL);
    EXPECT_EQ(win::windowText(label), L"100％");
    ShowWindow(dialog.hwnd(), SW_SHOW);
    ASSERT_TRUE(pumpUntil([&] { return settings.zoom == 1.0f; }, 3000));

    pressRight(dialog.hwnd());
    EXPECT_EQ(bits(settings.zoom), bits(1.1f));
    EXPECT_EQ(win::windowText(label), L"110％");
    EXPECT_EQ(changes, 2);
}

TEST_F(OptionsCommandTest, OkWritesTheQuotedPathWhenTickedAndDeletesItWhenNot) {
    start();
    // The sandbox has no Run key yet: OK creates it.
    runOptions(
        [](HWND dialog) {
            CheckDlgButton(dialog, IDC_START_WITH_SYSTEM, BST_CHECKED);
            CheckDlgButton(dialog, IDC_SHOW_SECOND_HAND, BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_HOURLY_CHIME, BST_UNCHECKED);
        },
        IDOK);
    EXPECT_EQ(runValue(), L"\"" + win::programPath() + L"\"");
    EXPECT_EQ(saved().startWithSystem, 1);
    EXPECT_EQ(saved().showSecondHand, 0);
    EXPECT_EQ(saved().hourlyChime, 0);

    runOptions([](HWND dialog) { CheckDlgButton(dialog, IDC_START_WITH_SYSTEM, BST_UNCHECKED); },
               IDOK);
    EXPECT_EQ(runValue(), std::nullopt);
    EXPECT_EQ(saved().startWithSystem, 0);
    // Removing a value that is not there is no failure.
    runOptions([](HWND) {}, IDOK);
    EXPECT_EQ(runValue(), std::nullopt);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(OptionsCommandTest, CancelKeepsTheNewZoomOnScreenButTouchesNeitherRegistryNorFile) {
    setRegistryText(HKEY_CURRENT_USER, runKey, L"Veltrano", L"\"C:\\elsewhere\\veltrano.exe\"");
    start();
    const std::vector<unsigned char> before = savedBytes();
    int widthInside = 0;
    runOptions(
        [&](HWND dialog) {
            CheckDlgButton(dialog, IDC_START_WITH_SYSTEM, BST_UNCHECKED);
            pressRight(dialog);
            RECT frame{};
            GetWindowRect(clock->hwnd(), &frame);
            widthInside = frame.right - frame.left;
        },
        IDCANCEL);
    EXPECT_EQ(widthInside, 143); // resized at once, while the dialog is open
    EXPECT_EQ(windowRect().right - windowRect().left, 143);
    EXPECT_EQ(savedBytes(), before);
    EXPECT_EQ(runValue(), L"\"C:\\elsewhere\\veltrano.exe\"");
}

TEST_F(OptionsCommandTest, RegistryFailureIsShownAndNotStoredAsRegistered) {
    // Lasting keys cannot be made below a volatile one: the Run key cannot be created.
    registry.reset();
    registry = std::make_unique<RegistrySandbox>(HKEY_CURRENT_USER, true);
    start();
    runOptions([](HWND dialog) { CheckDlgButton(dialog, IDC_START_WITH_SYSTEM, BST_CHECKED); },
               IDOK);
    ASSERT_EQ(messages.texts.size(), 1u);
    const std::wstring& message = messages.texts[0];
    EXPECT_EQ(message.rfind(L"无法设置开机自动运行：注册表操作失败（错误代码 ", 0), 0u)
        << win::wideToAnsi(message);
    EXPECT_EQ(saved().startWithSystem, 0);
}
