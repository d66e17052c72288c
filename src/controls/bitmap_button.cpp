#include "controls/bitmap_button.h"

namespace controls {

namespace {

// Button bitmaps are drawn on the classic face grey; that grey becomes the face colour of the
// system the button shows on.
const COLORREF drawnFaceGrey = RGB(192, 192, 192);
constexpr int bytesPerPixel = 3;

// Works on the 24-bit DIB section LoadImage makes of the bitmap resource.
void showOnButtonFace(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 24 ||
        !dib.dsBm.bmBits)
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    GdiFlush();
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* pixel = bits + y * dib.dsBm.bmWidthBytes;
        for (LONG x = 0; x < dib.dsBm.bmWidth; ++x, pixel += bytesPerPixel) {
            // Blue, green, red.
            if (RGB(pixel[2], pixel[1], pixel[0]) != drawnFaceGrey)
                continue;
            pixel[0] = GetBValue(face);
            pixel[1] = GetGValue(face);
            pixel[2] = GetRValue(face);
        }
    }
}

} // namespace

bool BitmapButton::attachWithBitmap(HWND dialog, int id, HINSTANCE module, int bitmapId) {
    bitmap_.reset(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (bitmap_)
        showOnButtonFace(bitmap_.get());
    return attach(dialog, id) && bitmap_;
}

bool BitmapButton::handleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM)
        return false;
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void BitmapButton::draw(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP size{};
    if (!bitmap_ || !GetObjectW(bitmap_.get(), sizeof(size), &size))
        return;
    win::UniqueMemoryDc source(CreateCompatibleDC(item.hDC));
    win::SelectGuard selected(source.get(), bitmap_.get());
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, size.bmWidth, size.bmHeight, source.get(),
           0, 0, SRCCOPY);
}

} // namespace controls
