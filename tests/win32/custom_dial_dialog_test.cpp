// "自定义表盘": the preview of the chosen files, the paths it stores and refuses, and Cancel.
#include "dialogs/custom_dial_dialog.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "render/skin_images.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace testing_support;

namespace {

constexpr std::uint32_t blue = 0xFF0000FF, red = 0xFFFF0000, green = 0xFF00FF00,
                        yellow = 0xFFFFFF00;

bool closeTo(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > 8)
            return false;
    return true;
}

class CustomDialTest : public ::testing::Test {
protected:
    // A file of one opaque colour; returns its path as stored.
    std::string png(const std::wstring& name, int width, int height, std::uint32_t colour) {
        render::Frame image(width, height);
        for (int i = 0; i < width * height; ++i)
            image.pixels()[i] = colour;
        EXPECT_TRUE(render::saveFramePng(image, scratch.file(name)));
        return win::wideToAnsi(scratch.file(name));
    }
    // The preview drawn onto a bitmap the size of the dialog's preview area and more.
    render::Frame paint(const dialogs::CustomDialDialog& dialog) {
        render::Frame canvas(400, 200);
        Gdiplus::Bitmap bitmap(400, 200, 400 * 4, PixelFormat32bppPARGB,
                               reinterpret_cast<BYTE*>(canvas.pixels()));
        Gdiplus::Graphics graphics(&bitmap);
        dialog.drawPreview(graphics);
        graphics.Flush(Gdiplus::FlushIntentionSync);
        return canvas;
    }
    std::wstring editText(const dialogs::CustomDialDialog& dialog, int id) {
        return win::windowText(GetDlgItem(dialog.hwnd(), id));
    }

    HMODULE module = GetModuleHandleW(nullptr);
    ScratchDirectory scratch;
    core::ClockSettings settings;
    std::unique_ptr<Gdiplus::Image> checkerboard =
        render::loadPngResource(module, IDR_PNG_CHECKERBOARD);
    MessageBoxCapture messages;
};

} // namespace

TEST_F(CustomDialTest, PreviewShowsOnlyTheCheckerboardWithoutPathsElseTheHandsAtThreeFortySecs) {
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    const render::Frame empty = paint(dialog);
    int white = 0, grey = 0;
    for (int y = 15; y < 145; ++y)
        for (int x = 240; x < 370; ++x) {
            white += empty.pixel(x, y) == 0xFFFFFFFF;
            grey += empty.pixel(x, y) == 0xFFDFDFDF;
        }
    EXPECT_EQ(white + grey, 130 * 130);
    EXPECT_GT(grey, 130 * 40);

    settings.customFacePath = png(L"face.png", 200, 100, blue); // squeezed to 130 x 130
    settings.customHourPath = png(L"hour.png", 8, 60, red);
    settings.customMinutePath = png(L"minute.png", 8, 60, green);
    settings.customSecondPath = png(L"second.png", 4, 60, yellow);
    const render::Frame shown = paint(dialog);
    EXPECT_TRUE(closeTo(shown.pixel(305 + 25, 80), red));   // 3 o'clock
    EXPECT_TRUE(closeTo(shown.pixel(305, 80 - 25), green)); // 12
    // 40 seconds: down and to the left, 60 degrees from straight down.
    const int x = 305 - static_cast<int>(std::lround(25 * std::sin(3.14159265 / 3)));
    EXPECT_TRUE(closeTo(shown.pixel(x, 80 + 12), yellow));
    EXPECT_TRUE(closeTo(shown.pixel(241, 16), blue));
    EXPECT_TRUE(closeTo(shown.pixel(368, 143), blue));
    EXPECT_EQ(shown.pixel(238, 80), 0u);
    EXPECT_EQ(shown.pixel(372, 80), 0u);
}

TEST_F(CustomDialTest, PreviewScalesTheLookToItsSquareAndDrawsNothingOutsideIt) {
    settings.customFacePath = png(L"face.png", 260, 260, blue); // shown at half its size
    settings.customHourPath = png(L"hour.png", 8, 120, red);    // 80 pixels past the pivot
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    const render::Frame half = paint(dialog);
    EXPECT_TRUE(closeTo(half.pixel(305 + 35, 80), red));
    EXPECT_TRUE(closeTo(half.pixel(305 + 50, 80), blue));

    settings.customMinutePath = png(L"minute.png", 961, 636, green);
    const render::Frame shown = paint(dialog);
    int outside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            outside += (x < 240 || x >= 370 || y < 15 || y >= 145) && shown.pixel(x, y) != 0;
    EXPECT_EQ(outside, 0);
}

TEST_F(CustomDialTest, PaintingTheChosenFilesAgainAndAgainHoldsNothing) {
    settings.customFacePath = png(L"face.png", 130, 130, blue);
    settings.customHourPath = png(L"hour.png", 8, 60, red);
    settings.customCasePath = png(L"case.png", 130, 130, 0x40000000);
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    dialog.createModeless(nullptr);
    ShowWindow(dialog.hwnd(), SW_SHOW);
    const auto repaint = [&] {
        RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    };
    repaint();
    const DWORD gdi = gdiObjects();
    DWORD handles = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    for (int i = 0; i < 100; ++i)
        repaint();
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(gdiObjects(), gdi);
    EXPECT_EQ(handlesAfter, handles);
    // Nothing holds the files: they can go.
    EXPECT_TRUE(DeleteFileW(scratch.file(L"face.png").c_str()));
}

TEST_F(CustomDialTest, ChosenPathIsStoredAtOnceAndCancelPutsTheOldOnesBack) {
    settings.customFacePath = "old-face.png";
    settings.customHourPath = "hour.png";
    settings.customCasePath = "case.png";
    const std::string chosen = png(L"新表盘.png", 130, 130, blue);
    {
        dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
        dialog.createModeless(nullptr);
        EXPECT_EQ(editText(dialog, IDC_FACE_PATH), L"old-face.png");
        ASSERT_TRUE(dialog.choosePath(render::FaceSlot, win::ansiToWide(chosen)));
        EXPECT_EQ(settings.customFacePath, chosen);
        EXPECT_EQ(editText(dialog, IDC_FACE_PATH), win::ansiToWide(chosen));
        SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(settings.customFacePath, "old-face.png");
    }
    // OK takes over an emptied box, but not a typed path.
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    dialog.createModeless(nullptr);
    SetDlgItemTextW(dialog.hwnd(), IDC_HOUR_PATH, L"typed.png");
    SetDlgItemTextW(dialog.hwnd(), IDC_CASE_PATH, L"");
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(settings.customHourPath, "hour.png");
    EXPECT_EQ(settings.customCasePath, "");
    EXPECT_EQ(settings.customFacePath, "old-face.png");
}

TEST_F(CustomDialTest, OkNamesAnImageTheClockCannotUseAndStaysOpenUntilItIsReplaced) {
    settings.customFacePath = png(L"face.png", 2100, 2100, blue);
    writeFile(scratch.file(L"hour.png"), {'n', 'o'});
    settings.customHourPath = win::wideToAnsi(scratch.file(L"hour.png"));
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    dialog.createModeless(nullptr);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(IsWindow(dialog.hwnd()));
    ASSERT_TRUE(
        dialog.choosePath(render::FaceSlot, win::ansiToWide(png(L"small.png", 130, 130, blue))));
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(IsWindow(dialog.hwnd()));
    SetDlgItemTextW(dialog.hwnd(), IDC_HOUR_PATH, L"");
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog.hwnd()));
    EXPECT_EQ(
        messages.texts,
        (std::vector<std::wstring>{
            L"时钟底盘图片太大，无法使用（宽和高最多 1024 像素）：\n" + scratch.file(L"face.png"),
            L"时针图片不是可以读取的 PNG 图像，无法使用：\n" + scratch.file(L"hour.png")}));
}

TEST_F(CustomDialTest, PathsTheFileCannotHoldAreShortenedOrRefused) {
    // Devanagari is not in code page 936.
    const std::wstring foreign = scratch.file(L"\x0915\x0916");
    ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));
    writeFile(foreign + L"\\face.png", readFile(win::ansiToWide(png(L"face.png", 130, 130, blue))));
    dialogs::CustomDialDialog dialog(module, settings, checkerboard.get());
    dialog.createModeless(nullptr);

    ASSERT_TRUE(dialog.choosePath(render::FaceSlot, foreign + L"\\face.png"));
    // Stored in its short form, which names the same file.
    EXPECT_TRUE(fileExists(win::ansiToWide(settings.customFacePath)));
    EXPECT_EQ(win::wideToAnsi(win::ansiToWide(settings.customFacePath)), settings.customFacePath);

    EXPECT_FALSE(dialog.choosePath(render::HourSlot, foreign + L"\\missing.png"));
    const std::wstring tooLong = scratch.file(std::wstring(300, L'a') + L".png");
    EXPECT_FALSE(dialog.choosePath(render::SecondSlot, tooLong));
    EXPECT_EQ(messages.texts, (std::vector<std::wstring>{
                                  L"文件路径中含有系统代码页无法表示的字符，无法保存：\n" +
                                      foreign + L"\\missing.png",
                                  L"文件路径太长，无法保存（最多 255 字节）：\n" + tooLong}));
    EXPECT_EQ(settings.customHourPath, "");
    EXPECT_EQ(settings.customSecondPath, "");
}
