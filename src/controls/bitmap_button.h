#pragma once
// An owner-drawn push button that shows a bitmap at its top-left corner, moved in by a pixel and
// sunken while pressed, with a focus rectangle while the keyboard cues are shown, and a tooltip
// that names it. Above 96 DPI it shows the bitmap's double-size art at the DPI's size. The button
// owns the bitmap and the tooltip for as long as it lives.
#include "win/control.h"
#include "win/handles.h"

#include <string>

namespace controls {

class BitmapButton : public win::Control {
public:
    // Attaches to button `id` of `dialog` (it must have the owner-draw style) and loads the
    // bitmap resource `bitmapId` of `module`, or its double-size art for the button's DPI.
    bool attachWithBitmap(HWND dialog, int id, HINSTANCE module, int bitmapId);
    // The text shown while the pointer rests on the button.
    bool setTip(const std::wstring& text);

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onAttached() override;

private:
    void loadBitmap();
    void onUpdateUiState(WPARAM change);
    void draw(const DRAWITEMSTRUCT& item) const;
    void drawBitmap(HDC dc, int x, int y) const;

    HINSTANCE module_ = nullptr;
    int bitmapId_ = 0;
    win::UniqueBitmap bitmap_;
    // The DPI the bitmap is drawn for, and whether it is the double-size art.
    int dpi_ = 0;
    bool doubleArt_ = false;
    win::UniqueWindow tip_;
    // The keyboard cues say to hide the focus rectangle (until the keyboard is used).
    bool focusCueHidden_ = false;
};

} // namespace controls
