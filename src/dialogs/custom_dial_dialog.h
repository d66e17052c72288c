#pragma once
// "自定义表盘": the five image files of the custom look, each picked with a browse button, and a
// preview of them at 3:00:40 drawn from the files as they are at each paint.
#include <windows.h>

#include <gdiplus.h>

#include "core/settings.h"
#include "render/skin_images.h"
#include "win/dialog.h"

#include <array>
#include <string>

namespace dialogs {

class CustomDialDialog : public win::Dialog {
public:
    // Edits the five custom paths of `settings` in place; `background` (the caller's, kept for
    // the whole run) is drawn behind the preview, or above 96 DPI its double-size art
    // `doubleBackground` when there is one.
    CustomDialDialog(HINSTANCE module, core::ClockSettings& settings, Gdiplus::Image* background,
                     Gdiplus::Image* doubleBackground = nullptr);

    // Stores a chosen file for a slot at once, as the browse buttons do, and shows it. A path
    // that "Settings.def" cannot hold, even in its short form, is refused with a message.
    bool choosePath(render::SkinSlot slot, const std::wstring& path);
    // The preview in the dialog's client coordinates, onto any graphics.
    void drawPreview(Gdiplus::Graphics& graphics) const;
    // Where the preview goes in the client area, at the dialog's DPI.
    RECT previewSquare() const;

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    bool onButtonClicked(int id) override;
    // Takes over only the boxes the user emptied; a typed path has no effect. An image the clock
    // cannot use (unreadable, no image, larger than core::MaxImageSide) is named with the reason,
    // and the dialog stays open.
    void onOK() override;
    // Puts back the paths found on opening, so a cancelled choice is not saved later.
    void onCancel() override;

private:
    void browse(render::SkinSlot slot);
    void onPaint();
    void drawHand(Gdiplus::Graphics& graphics, render::SkinSlot slot, const RECT& square,
                  float zoom) const;
    void repaintPreview();

    core::ClockSettings& settings_;
    Gdiplus::Image* background_;
    Gdiplus::Image* doubleBackground_;
    std::array<std::string, render::SlotCount> pathsAtOpening_;
};

} // namespace dialogs
