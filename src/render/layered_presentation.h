#pragma once
// Hands composed frames to the window manager as the whole content of a per-pixel-alpha window.
// UpdateLayeredWindow is looked up at run time in the user-interface library the clock loads, and
// so is UpdateLayeredWindowIndirect (Vista and later), which hands over only the changed area.
#include <windows.h>

#include "render/frame.h"
#include "win/handles.h"

namespace render {

class LayeredPresentation {
public:
    // False when the user-interface library cannot be loaded.
    bool load();
    // Shows `frame` at the window's current place with the constant alpha of the opacity
    // percent (out of range counts as 100), making the window layered first if it is not; the
    // window takes the frame's size. `changed` is the part of the frame that differs from the one
    // shown before; the whole frame is handed over instead whenever the window may not hold that
    // one at this size and opacity.
    bool present(HWND window, const Frame& frame, int opacityPercent,
                 const core::PixelRect* changed = nullptr);
    // Nothing is drawn through the library once it is let go.
    void release();

    const BLENDFUNCTION& blend() const { return blend_; }

private:
    using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                BLENDFUNCTION*, DWORD);
    // UPDATELAYEREDWINDOWINFO, which the headers declare only for Vista and later.
    struct LayeredUpdate {
        DWORD size;
        HDC destination;
        const POINT* destinationPoint;
        const SIZE* windowSize;
        HDC source;
        const POINT* sourcePoint;
        COLORREF colourKey;
        const BLENDFUNCTION* blend;
        DWORD flags;
        const RECT* dirty;
    };
    using UpdateLayeredWindowIndirectFn = BOOL(WINAPI*)(HWND, const LayeredUpdate*);

    bool updateArea(HWND window, const RECT& area);

    win::UniqueModule user32_;
    UpdateLayeredWindowFn updateLayeredWindow_ = nullptr;
    UpdateLayeredWindowIndirectFn updateLayeredWindowIndirect_ = nullptr;
    BLENDFUNCTION blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    win::UniqueMemoryDc memoryDc_;
    SIZE shownSize_{0, 0};
    HWND shownWindow_ = nullptr;
    BYTE shownAlpha_ = 0;
};

} // namespace render
