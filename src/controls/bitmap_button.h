#pragma once
// An owner-drawn push button that shows a bitmap at its top-left corner, moved in by a pixel and
// sunken while pressed, with a focus rectangle while the keyboard cues are shown, and a tooltip
// that names it. The button owns the bitmap and the tooltip for as long as it lives.
#include "win/control.h"
#include "win/handles.h"

#include <string>

namespace controls {

class BitmapButton : public win::Control {
public:
    // Attaches to button `id` of `dialog` (it must have the owner-draw style) and loads the
    // bitmap resource `bitmapId` of `module`.
    bool attachWithBitmap(HWND dialog, int id, HINSTANCE module, int bitmapId);
    // The text shown while the pointer rests on the button.
    bool setTip(const std::wstring& text);

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onAttached() override;

private:
    void onUpdateUiState(WPARAM change);
    void draw(const DRAWITEMSTRUCT& item) const;
    void drawBitmap(HDC dc, int x, int y) const;

    win::UniqueBitmap bitmap_;
    win::UniqueWindow tip_;
    // The keyboard cues say to hide the focus rectangle (until the keyboard is used).
    bool focusCueHidden_ = false;
};

} // namespace controls
