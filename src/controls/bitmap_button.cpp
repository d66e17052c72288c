#include "controls/bitmap_button.h"

#include "core/geometry.h"
#include "win/dpi.h"

#include "resource.h"

#include <commctrl.h>

namespace controls {

namespace {

// Button bitmaps are drawn on the classic face grey; that grey becomes the face colour of the
// system the button shows on.
const COLORREF DrawnFaceGrey = RGB(192, 192, 192);
constexpr int BytesPerPixel = 3;
// Pressed, the bitmap moves right and down by this much inside a sunken edge.
constexpr int PressedShift = 1;
// The focus rectangle stays inside the edge.
constexpr int FocusInset = 2;

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
        for (LONG x = 0; x < dib.dsBm.bmWidth; ++x, pixel += BytesPerPixel) {
            // Blue, green, red.
            if (RGB(pixel[2], pixel[1], pixel[0]) != DrawnFaceGrey)
                continue;
            pixel[0] = GetBValue(face);
            pixel[1] = GetGValue(face);
            pixel[2] = GetRValue(face);
        }
    }
}

HBITMAP loadButtonBitmap(HINSTANCE module, int bitmapId) {
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap)
        showOnButtonFace(bitmap);
    return bitmap;
}

} // namespace

bool BitmapButton::attachWithBitmap(HWND dialog, int id, HINSTANCE module, int bitmapId) {
    module_ = module;
    bitmapId_ = bitmapId;
    const bool attached = attach(dialog, id);
    if (attached)
        loadBitmap();
    return attached && bitmap_;
}

// The double-size art when the DPI asks for it and the module has it, else the 1x bitmap.
void BitmapButton::loadBitmap() {
    dpi_ = win::windowDpi(hwnd());
    const float scale = static_cast<float>(dpi_) / core::BaseDpi;
    doubleArt_ = core::chooseArt(scale, true).doubleArt;
    bitmap_.reset(doubleArt_ ? loadButtonBitmap(module_, bitmapId_ + DOUBLE_ART_ID_OFFSET)
                             : nullptr);
    if (!bitmap_) {
        doubleArt_ = false;
        bitmap_.reset(loadButtonBitmap(module_, bitmapId_));
    }
}

bool BitmapButton::setTip(const std::wstring& text) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    const HWND owner = GetParent(hwnd());
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd(), GWLP_HINSTANCE));
    tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, module,
                               nullptr));
    if (!tip_)
        return false;
    std::wstring shown = text;
    TOOLINFOW tool{};
    // The size every version of the tooltip control accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // The tooltip watches the button's own mouse messages.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = &shown[0];
    return SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

win::Handled BitmapButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    switch (message) {
    case WM_UPDATEUISTATE:
        result = defaultProcedure(message, wParam, lParam);
        onUpdateUiState(wParam);
        return win::Handled::Yes;
    case win::DpiChangedAfterParentMessage:
        loadBitmap();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return win::Handled::AndDefault;
    default: return win::Handled::No;
    }
}

void BitmapButton::onAttached() {
    focusCueHidden_ = (SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

// Kept by the button itself: not every system marks the drawing record or answers the query.
void BitmapButton::onUpdateUiState(WPARAM change) {
    if (!(HIWORD(change) & UISF_HIDEFOCUS))
        return;
    switch (LOWORD(change)) {
    case UIS_SET: focusCueHidden_ = true; break;
    case UIS_CLEAR: focusCueHidden_ = false; break;
    default:
        focusCueHidden_ = (SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
        break;
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

bool BitmapButton::handleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM)
        return false;
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void BitmapButton::draw(const DRAWITEMSTRUCT& item) const {
    RECT face = item.rcItem;
    FillRect(item.hDC, &face, GetSysColorBrush(COLOR_BTNFACE));
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const int shift = pressed ? win::scaleForDpi(PressedShift, dpi_) : 0;
    drawBitmap(item.hDC, face.left + shift, face.top + shift);
    if (pressed)
        DrawEdge(item.hDC, &face, BDR_SUNKENOUTER, BF_RECT);
    // Windows hides the focus rectangle until the keyboard is used.
    const bool cuesHidden = (item.itemState & ODS_NOFOCUSRECT) || focusCueHidden_;
    if ((item.itemState & ODS_FOCUS) && !cuesHidden) {
        RECT focus = face;
        const int inset = win::scaleForDpi(FocusInset, dpi_);
        InflateRect(&focus, -inset, -inset);
        DrawFocusRect(item.hDC, &focus);
    }
}

// Drawn at the 1x bitmap's size at the button's DPI: the double-size art exactly at 192 DPI,
// halftoned down to it below.
void BitmapButton::drawBitmap(HDC dc, int x, int y) const {
    BITMAP size{};
    if (!bitmap_ || !GetObjectW(bitmap_.get(), sizeof(size), &size))
        return;
    const int artScale = doubleArt_ ? core::DoubleArtScale : 1;
    const int width = win::scaleForDpi(size.bmWidth / artScale, dpi_);
    const int height = win::scaleForDpi(size.bmHeight / artScale, dpi_);
    win::UniqueMemoryDc source(CreateCompatibleDC(dc));
    win::SelectGuard selected(source.get(), bitmap_.get());
    if (width == size.bmWidth && height == size.bmHeight) {
        BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
        return;
    }
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    // HALFTONE needs the brush origin set again after the mode changes.
    POINT oldOrigin{};
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    StretchBlt(dc, x, y, width, height, source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

} // namespace controls
