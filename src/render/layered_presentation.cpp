#include "render/layered_presentation.h"

#include "core/geometry.h"

namespace render {

bool LayeredPresentation::load() {
    user32_.reset(LoadLibraryW(L"User32.DLL"));
    if (!user32_)
        return false;
    updateLayeredWindow_ = reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32_.get(), "UpdateLayeredWindow")));
    updateLayeredWindowIndirect_ = reinterpret_cast<UpdateLayeredWindowIndirectFn>(
        reinterpret_cast<void*>(GetProcAddress(user32_.get(), "UpdateLayeredWindowIndirect")));
    return true;
}

void LayeredPresentation::release() {
    memoryDc_.reset();
    updateLayeredWindow_ = nullptr;
    updateLayeredWindowIndirect_ = nullptr;
    shownWindow_ = nullptr;
    user32_.reset();
}

bool LayeredPresentation::present(HWND window, const Frame& frame, int opacityPercent,
                                  const core::PixelRect* changed) {
    blend_.SourceConstantAlpha = core::constantAlpha(opacityPercent);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    if (!updateLayeredWindow_ || !frame.valid())
        return false;

    // The window keeps its place (no destination point) and, but for the first frame and a new
    // zoom or look, its size: what is left to hand over is the picture, which costs the window
    // manager least. The memory device context is made once, not for every frame.
    if (!memoryDc_)
        memoryDc_.reset(CreateCompatibleDC(nullptr));
    if (!memoryDc_)
        return false;
    // Selected for this frame only, so the frame's bitmap can be replaced at any time.
    win::SelectGuard selected(memoryDc_.get(), frame.bitmap());
    SIZE size{frame.width(), frame.height()};
    const bool resized =
        size.cx != shownSize_.cx || size.cy != shownSize_.cy || shownWindow_ != window;
    // The window blends the changed area with the constant alpha and keeps the rest as it was
    // blended before, so only a frame at the same opacity can be handed over in part.
    const bool inPart = changed && !resized && shownAlpha_ == blend_.SourceConstantAlpha &&
                        updateLayeredWindowIndirect_;
    if (inPart && changed->empty())
        return true;
    shownWindow_ = nullptr; // until this frame is shown, what the window holds is unknown
    POINT source{0, 0};
    // A refused update in part is made whole at once rather than a tick later.
    const bool shown = (inPart && updateArea(window, {changed->left, changed->top, changed->right,
                                                      changed->bottom})) ||
                       updateLayeredWindow_(window, nullptr, nullptr, resized ? &size : nullptr,
                                            memoryDc_.get(), &source, 0, &blend_, ULW_ALPHA);
    if (!shown)
        return false;
    shownSize_ = size;
    shownWindow_ = window;
    shownAlpha_ = blend_.SourceConstantAlpha;
    return true;
}

bool LayeredPresentation::updateArea(HWND window, const RECT& area) {
    const POINT source{0, 0};
    const LayeredUpdate update{sizeof(update), nullptr, nullptr, nullptr,   memoryDc_.get(),
                               &source,        0,       &blend_, ULW_ALPHA, &area};
    return updateLayeredWindowIndirect_(window, &update) != FALSE;
}

} // namespace render
