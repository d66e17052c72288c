#pragma once
// An owner-drawn push button that shows a bitmap at its top-left corner, the same whether up or
// pressed. The button owns the bitmap for as long as it lives.
#include "win/control.h"
#include "win/handles.h"

namespace controls {

class BitmapButton : public win::Control {
public:
    // Attaches to button `id` of `dialog` (it must have the owner-draw style) and loads the
    // bitmap resource `bitmapId` of `module`.
    bool attachWithBitmap(HWND dialog, int id, HINSTANCE module, int bitmapId);

protected:
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void draw(const DRAWITEMSTRUCT& item) const;

    win::UniqueBitmap bitmap_;
};

} // namespace controls
