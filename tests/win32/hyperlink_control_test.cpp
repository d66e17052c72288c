// The link of the About dialog: its colours, font and cursor, and what a click does.
#include "controls/hyperlink_control.h"
#include "dialogs/about_dialog.h"
#include "win32_test_support.h"

#include "resource.h"
#include "version.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class AboutLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        about.createModeless(nullptr);
        link = GetDlgItem(about.hwnd(), IDC_LINK);
        control = dynamic_cast<controls::HyperLinkControl*>(win::Control::fromWindow(link));
        ASSERT_NE(control, nullptr);
    }
    void click() {
        SendMessageW(about.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_LINK, STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
    }

    HMODULE module = GetModuleHandleW(nullptr);
    dialogs::AboutDialog about{module};
    HWND link = nullptr;
    controls::HyperLinkControl* control = nullptr;
    MessageBoxCapture messages;
};

} // namespace

TEST_F(AboutLinkTest, DrawsInLinkColoursUnderlinedAndShowsTheHand) {
    EXPECT_EQ(win::windowText(GetDlgItem(about.hwnd(), IDC_ABOUT_VERSION)),
              L"Veltrano " VELTRANO_VERSION_WTEXT L"版");
    EXPECT_EQ(control->linkTarget(), L"mailto:veltrano@example.org");
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const auto colourRequest = [&] {
        return SendMessageW(about.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                            reinterpret_cast<LPARAM>(link));
    };
    EXPECT_EQ(colourRequest(), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetTextColor(dc.get()), RGB(0, 0, 238));
    EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc.get(), OBJ_FONT), sizeof(font), &font);
    EXPECT_TRUE(font.lfUnderline);
    control->markVisited(true);
    colourRequest();
    EXPECT_EQ(GetTextColor(dc.get()), RGB(85, 26, 139));

    EXPECT_TRUE(SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(module, MAKEINTRESOURCEW(IDC_LINK_HAND)));
}

TEST_F(AboutLinkTest, FailedOpenShowsTheExactMessageAndTheWebBrowserIsTheFallback) {
    RegistrySandbox classes(HKEY_CLASSES_ROOT);
    ScratchDirectory scratch;
    // Nothing opens this name, so the shell reports "not found"; the fallback browser below
    // makes a folder of it, which shows that it received the whole target.
    const std::wstring target = scratch.file(L"opened page");
    control->setLinkTarget(target);
    click();
    EXPECT_EQ(messages.texts,
              std::vector<std::wstring>{
                  L"Unable to open hyperlink:\n\nThe specified file was not found."});
    EXPECT_FALSE(control->visited());

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring defaultValue; // the key's unnamed value
    setRegistryText(HKEY_CLASSES_ROOT, L".htm", defaultValue, L"VeltranoTest.Page");
    setRegistryText(HKEY_CLASSES_ROOT, L"VeltranoTest.Page\\shell\\open\\command", defaultValue,
                    L"\"" + std::wstring(system) + L"\\cmd.exe\" /c mkdir \"%1\"");
    click();
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(control->visited());
    EXPECT_TRUE(pumpUntil([&] { return fileExists(target); }, 10000));
}
