#include "render/layered_presentation.h"

#include "core/geometry.h"

namespace render {

bool LayeredPresentation::load() {
    user32_.reset(LoadLibraryW(L"User32.DLL"));
    if (!user32_)
        return false;
    updateLayeredWindow_ = reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32_.get(), "UpdateLayeredWindow")));
    return true;
}

void LayeredPresentation::release() {
    memoryDc_.reset();
    updateLayeredWindow_ = nullptr;
    user32_.reset();
}

bool LayeredPresentation::present(HWND window, const Frame& frame, int opacityPercent) {
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
    POINT source{0, 0};
    if (!updateLayeredWindow_(window, nullptr, nullptr, resized ? &size : nullptr, memoryDc_.get(),
                              &source, 0, &blend_, ULW_ALPHA))
        return false;
    shownSize_ = size;
    shownWindow_ = window;
    return true;
}

} // namespace render
