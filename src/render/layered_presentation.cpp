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

    // One device context of the window serves as the source's model and as the destination.
    win::WindowDc windowDc(window);
    win::UniqueMemoryDc memoryDc(CreateCompatibleDC(windowDc.get()));
    if (!memoryDc)
        return false;
    win::SelectGuard selected(memoryDc.get(), frame.bitmap());
    RECT place{};
    GetWindowRect(window, &place);
    POINT destination{place.left, place.top};
    SIZE size{frame.width(), frame.height()};
    POINT source{0, 0};
    return updateLayeredWindow_(window, windowDc.get(), &destination, &size, memoryDc.get(),
                                &source, 0, &blend_, ULW_ALPHA) != FALSE;
}

} // namespace render
