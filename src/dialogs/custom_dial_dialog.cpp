#include "dialogs/custom_dial_dialog.h"

#include "core/geometry.h"
#include "dialogs/sound_path.h"
#include "render/frame.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/message_box.h"
#include "win/open_file_dialog.h"
#include "win/strings.h"
#include "win/window_rect.h"

#include "resource.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>

namespace dialogs {

namespace {

using render::SkinSlot;

struct SlotControls {
    int edit;
    int browse;
};

// In slot order: face, hour, minute, second hand, case.
const SlotControls ControlsBySlot[render::SlotCount] = {
    {IDC_FACE_PATH, IDC_BROWSE_FACE},     {IDC_HOUR_PATH, IDC_BROWSE_HOUR},
    {IDC_MINUTE_PATH, IDC_BROWSE_MINUTE}, {IDC_SECOND_PATH, IDC_BROWSE_SECOND},
    {IDC_CASE_PATH, IDC_BROWSE_CASE},
};

// The preview square in client pixels at 96 DPI, inside the "预览" group box; the dial centre is
// its middle.
constexpr int PreviewLeft = 240;
constexpr int PreviewTop = 15;
constexpr int PreviewSide = 130;
// The least space at 96 DPI between the square and the group box's frame.
constexpr int PreviewFrameInset = 3;
// The time the preview shows.
constexpr int PreviewHour = 3, PreviewMinute = 0, PreviewSecond = 40;

const wchar_t* const PngFilter = L"图像文件(*.png)|*.png|";

std::wstring refusalText(core::PathProblem problem, const std::wstring& path) {
    if (problem == core::PathProblem::TooLong)
        return L"文件路径太长，无法保存（最多 " + std::to_wstring(core::MaxStoredPathBytes) +
               L" 字节）：\n" + path;
    return L"文件路径中含有系统代码页无法表示的字符，无法保存：\n" + path;
}

// In slot order, as the dialog labels them.
const wchar_t* const SlotNames[render::SlotCount] = {L"时钟底盘图片", L"时针图片", L"分针图片",
                                                     L"秒针图片", L"表壳图片"};

std::wstring imageRefusalText(SkinSlot slot, render::ImageProblem problem,
                              const std::wstring& path) {
    const std::wstring name = SlotNames[slot];
    switch (problem) {
    case render::ImageProblem::TooLarge:
        return name + L"太大，无法使用（宽和高最多 " + std::to_wstring(core::MaxImageSide) +
               L" 像素）：\n" + path;
    case render::ImageProblem::NotAnImage:
        return name + L"不是可以读取的 PNG 图像，无法使用：\n" + path;
    default: return L"无法读取" + name + L"：\n" + path;
    }
}

std::unique_ptr<Gdiplus::Image> loadPreviewImage(const std::string& path) {
    return render::loadImageFile(win::ansiToWide(path));
}

} // namespace

CustomDialDialog::CustomDialDialog(HINSTANCE module, core::ClockSettings& settings,
                                   Gdiplus::Image* background, Gdiplus::Image* doubleBackground)
    : Dialog(module, IDD_CUSTOM_DIAL), settings_(settings), background_(background),
      doubleBackground_(doubleBackground) {}

win::Handled CustomDialDialog::handleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    switch (message) {
    case WM_PAINT: onPaint(); return win::Handled::Yes;
    default: return win::Handled::No;
    }
}

bool CustomDialDialog::onInitDialog() {
    for (int slot = 0; slot < render::SlotCount; ++slot) {
        const std::string& path = settings_.*core::CustomLookPaths[slot];
        pathsAtOpening_[slot] = path;
        setItemText(ControlsBySlot[slot].edit, win::ansiToWide(path));
    }
    return true;
}

bool CustomDialDialog::onButtonClicked(int id) {
    for (int slot = 0; slot < render::SlotCount; ++slot) {
        if (ControlsBySlot[slot].browse == id) {
            browse(static_cast<SkinSlot>(slot));
            return true;
        }
    }
    return false;
}

void CustomDialDialog::onOK() {
    for (int slot = 0; slot < render::SlotCount; ++slot)
        if (itemText(ControlsBySlot[slot].edit).empty())
            (settings_.*core::CustomLookPaths[slot]).clear();
    // The clock would leave out an image it cannot use, or show look 1 for a face, without a
    // word: the user hears why here and can choose another file or empty the box.
    for (int slot = 0; slot < render::SlotCount; ++slot) {
        const std::wstring path = win::ansiToWide(settings_.*core::CustomLookPaths[slot]);
        render::ImageProblem problem = render::ImageProblem::None;
        if (path.empty() || render::loadImageFile(path, &problem))
            continue;
        win::showMessage(hwnd(), imageRefusalText(static_cast<SkinSlot>(slot), problem, path));
        SendMessageW(hwnd(), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(item(ControlsBySlot[slot].edit)), TRUE);
        return;
    }
    endDialog(IDOK);
}

void CustomDialDialog::onCancel() {
    for (int slot = 0; slot < render::SlotCount; ++slot)
        settings_.*core::CustomLookPaths[slot] = pathsAtOpening_[slot];
    endDialog(IDCANCEL);
}

void CustomDialDialog::browse(SkinSlot slot) {
    if (const auto chosen = win::askForFileToOpen(hwnd(), PngFilter, OFN_HIDEREADONLY))
        choosePath(slot, *chosen);
}

bool CustomDialDialog::choosePath(SkinSlot slot, const std::wstring& path) {
    const core::StoredPathChoice choice = choosePathToStore(path);
    if (choice.problem != core::PathProblem::None) {
        win::showMessage(hwnd(), refusalText(choice.problem, path));
        return false;
    }
    settings_.*core::CustomLookPaths[slot] = choice.bytes;
    setItemText(ControlsBySlot[slot].edit, win::ansiToWide(choice.bytes));
    repaintPreview();
    return true;
}

void CustomDialDialog::onPaint() {
    win::PaintScope paint(hwnd());
    Gdiplus::Graphics graphics(paint.dc());
    drawPreview(graphics);
}

RECT CustomDialDialog::previewSquare() const {
    const int dpi = win::windowDpi(hwnd());
    int left = win::scaleForDpi(PreviewLeft, dpi), top = win::scaleForDpi(PreviewTop, dpi);
    int side = win::scaleForDpi(PreviewSide, dpi);
    // The dialog's layout grows with its font, not quite in step with the DPI, so the scaled
    // square could cross the group box's frame: it is moved back inside, and made smaller when
    // the frame is narrower than the square.
    if (const HWND group = item(IDC_PREVIEW_FRAME)) {
        RECT frame = win::rectInParent(group);
        const int inset = win::scaleForDpi(PreviewFrameInset, dpi);
        InflateRect(&frame, -inset, -inset);
        side =
            std::max(1, std::min<int>({side, frame.right - frame.left, frame.bottom - frame.top}));
        left = core::placeBetween(left, side, frame.left, frame.right);
        top = core::placeBetween(top, side, frame.top, frame.bottom);
    }
    return RECT{left, top, left + side, top + side};
}

void CustomDialDialog::drawPreview(Gdiplus::Graphics& graphics) const {
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    const RECT area = previewSquare();
    const Gdiplus::Rect square(area.left, area.top, area.right - area.left, area.bottom - area.top);
    // Hands and cases of any size stay inside the square.
    const Gdiplus::GraphicsState outside = graphics.Save();
    graphics.SetClip(square);
    // Without a face the hands are shown as the clock turns them at zoom 1 on a screen of the
    // dialog's DPI.
    float zoom = static_cast<float>(square.Width) / PreviewSide;
    const bool doubleArt = core::chooseArt(zoom, doubleBackground_ != nullptr).doubleArt;
    if (Gdiplus::Image* background = doubleArt ? doubleBackground_ : background_)
        graphics.DrawImage(background, square);
    // Each image is read afresh and let go at once: the preview shows the files as they are now
    // and never holds the clock's own images.
    if (const auto face = loadPreviewImage(settings_.*core::CustomLookPaths[render::FaceSlot])) {
        // The face fills the square; the hands keep their size to it, as on the clock.
        zoom = std::min(static_cast<float>(square.Width) / face->GetWidth(),
                        static_cast<float>(square.Height) / face->GetHeight());
        graphics.DrawImage(face.get(), square);
    }
    drawHand(graphics, render::HourSlot, area, zoom);
    drawHand(graphics, render::MinuteSlot, area, zoom);
    drawHand(graphics, render::SecondSlot, area, zoom);
    if (const auto caseImage = loadPreviewImage(settings_.*core::CustomLookPaths[render::CaseSlot]))
        graphics.DrawImage(caseImage.get(), square);
    graphics.Restore(outside);
}

void CustomDialDialog::drawHand(Gdiplus::Graphics& graphics, SkinSlot slot, const RECT& square,
                                float zoom) const {
    const auto image = loadPreviewImage(settings_.*core::CustomLookPaths[slot]);
    if (!image)
        return;
    static const core::Hand hands[] = {core::Hand::Hour, core::Hand::Minute, core::Hand::Second};
    core::LocalTime shown;
    shown.hour = PreviewHour;
    shown.minute = PreviewMinute;
    shown.second = PreviewSecond;
    const render::ImageSize size{static_cast<int>(image->GetWidth()),
                                 static_cast<int>(image->GetHeight())};
    const core::PointF centre{(square.left + square.right) / 2.0,
                              (square.top + square.bottom) / 2.0};
    // About the middle of the square, as the clock turns them about its dial's centre.
    render::drawHand(graphics, *image, size, hands[slot - render::HourSlot], shown, zoom, centre);
}

void CustomDialDialog::repaintPreview() {
    const RECT square = previewSquare();
    // The group box's caption overlaps the square and must be drawn again over the preview.
    RedrawWindow(hwnd(), &square, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace dialogs
