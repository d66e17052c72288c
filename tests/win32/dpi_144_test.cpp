// The dialogs at 144 DPI: run only in a prefix set to it (tests/win32/CMakeLists.txt).
#include "dialogs/custom_dial_dialog.h"
#include "dialogs/shutdown_countdown_dialog.h"
#include "render/png_writer.h"
#include "win/strings.h"
#include "win/window_rect.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

TEST(AtDpi144, AlarmListShowsItsHeadingAndTimesWhole) {
    FixedTime time{12, 0, 0};
    ClockUnderTest under;
    core::ClockSettings settings;
    settings.alarms.assign({{1, "08:00:00", ""}}, win::isAnsiLeadByte);
    ASSERT_TRUE(under.start(settings));
    int widths[3] = {}, needed = 0;
    std::string faults;
    ASSERT_TRUE(inDialog(
        L"自动关机&闹铃设置", [&] { under.command(ID_ALARM_SHUTDOWN); },
        [&](HWND d) {
            const HWND list = GetDlgItem(d, IDC_ALARM_LIST);
            widths[0] = ListView_GetColumnWidth(list, 0);
            widths[1] = ListView_GetColumnWidth(list, 1);
            widths[2] = ListView_GetColumnWidth(list, 2);
            // A rule of China's calendar, so the notice of 2027 shows.
            SendDlgItemMessageW(d, IDC_ALARM_RULE, CB_SETCURSEL, 2, 0);
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_ALARM_RULE, CBN_SELCHANGE), 0);
            faults = layoutFaults(d, {IDC_CHANGE_ALARM, IDC_ALARM_RULE, IDC_RULE_MONDAY,
                                      IDC_RULE_SUNDAY, IDC_RULE_NOTICE});
            // The list's own measure of "闹铃时间" and "08:00:00", its margins and box included.
            ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
            needed = ListView_GetColumnWidth(list, 0);
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        }));
    EXPECT_EQ(widths[0], 120);
    EXPECT_EQ(widths[1], 390);
    EXPECT_EQ(widths[2], 225);
    EXPECT_EQ(faults, "");
    EXPECT_GE(widths[0], needed);
}

TEST(AtDpi144, CustomDialPreviewFillsItsScaledSquareWithHandsAtOneAndAHalf) {
    ScratchDirectory scratch;
    render::Frame hand(8, 60), canvas(600, 300);
    std::fill(hand.pixels(), hand.pixels() + 8 * 60, 0xFFFF0000u);
    ASSERT_TRUE(render::saveFramePng(hand, scratch.file(L"hour.png")));
    core::ClockSettings settings;
    settings.customHourPath = win::wideToAnsi(scratch.file(L"hour.png"));
    const auto board = render::loadPngResource(GetModuleHandleW(nullptr), IDR_PNG_CHECKERBOARD);
    dialogs::CustomDialDialog dialog(GetModuleHandleW(nullptr), settings, board.get());
    dialog.createModeless(nullptr);
    Gdiplus::Bitmap bitmap(600, 300, 600 * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(canvas.pixels()));
    Gdiplus::Graphics graphics(&bitmap);
    dialog.drawPreview(graphics);
    // The square is 1.5 times its side at 96 DPI and lies inside the group box's frame, whose
    // place grows with the dialog's font rather than with the DPI.
    const RECT square = dialog.previewSquare();
    const RECT frame = win::rectInParent(GetDlgItem(dialog.hwnd(), IDC_PREVIEW_FRAME));
    EXPECT_EQ(square.right - square.left, 195);
    EXPECT_EQ(square.bottom - square.top, 195);
    EXPECT_TRUE(frame.left < square.left && square.right < frame.right && frame.top < square.top &&
                square.bottom < frame.bottom);
    EXPECT_NE(canvas.pixel(square.left, square.top) &
                  canvas.pixel(square.right - 1, square.bottom - 1),
              0u);
    const int x = (square.left + square.right) / 2, y = (square.top + square.bottom) / 2;
    EXPECT_EQ(canvas.pixel(square.left - 1, y) | canvas.pixel(square.right, y), 0u);
    // The hand reaches two thirds of 60 x 1.5 right of the centre.
    EXPECT_EQ(canvas.pixel(x + 55, y), 0xFFFF0000u);
    EXPECT_NE(canvas.pixel(x + 64, y), 0xFFFF0000u);
}

TEST(AtDpi144, CountdownDigitsGrowWithTheDpiAndCoverNoLetter) {
    dialogs::ShutdownCountdownDialog dialog(GetModuleHandleW(nullptr));
    dialog.createModeless(nullptr);
    ShowWindow(dialog.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(dialog.hwnd());
    win::WindowDc window(dialog.hwnd());
    // The rows of the dialog as shown that hold `colour` (each channel's top two bits), one entry
    // per pixel.
    const auto rowsOf = [&](std::uint32_t colour) {
        render::Frame shown(600, 400);
        win::UniqueMemoryDc dc(CreateCompatibleDC(window.get()));
        win::SelectGuard selected(dc.get(), shown.bitmap());
        BitBlt(dc.get(), 0, 0, 600, 400, window.get(), 0, 0, SRCCOPY);
        std::vector<int> rows;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                if (((shown.pixel(x, y) & 0xFFFFFF) | 0x3F3F3F) == colour)
                    rows.push_back(y);
        return rows;
    };
    // The number drawn as each second's step draws it, over the texts; then the texts again.
    dialog.drawNumber(window.get());
    const std::size_t letters = rowsOf(0x3F3F3F).size();
    const std::vector<int> red = rowsOf(0xFF3F3F);
    for (HWND text = nullptr; (text = FindWindowExW(dialog.hwnd(), text, WC_STATICW, nullptr));)
        RedrawWindow(text, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(letters, rowsOf(0x3F3F3F).size());
    ASSERT_FALSE(red.empty());
    // At 96 DPI the digits are 59 rows tall.
    EXPECT_GT(red.back() - red.front(), 80);
}
