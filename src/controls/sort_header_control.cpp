#include "controls/sort_header_control.h"

#include "win/dpi.h"
#include "win/handles.h"

#include <commctrl.h>

namespace controls {

namespace {

// Headings are fetched into a buffer of this many characters; a longer one is drawn cut short.
constexpr int HeadingBufferLength = 256;

// At 96 DPI, scaled with the header's: how far a pressed label moves with the button face, and the
// arrow's pen and the one- and two-pixel steps between its lines.
constexpr int PressedShiftX = 1, PressedShiftY = 2;
constexpr int ArrowPen = 1, ArrowStep = 1, ArrowDoubleStep = 2;

const UINT LabelFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;

UINT alignmentFormat(int headingFormat) {
    if (headingFormat & HDF_CENTER)
        return DT_CENTER;
    if (headingFormat & HDF_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

void line(HDC dc, HPEN pen, POINT from, POINT to) {
    win::SelectGuard selected(dc, pen);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

} // namespace

void SortHeaderControl::ownHeading(int column) {
    HDITEMW heading{};
    heading.mask = HDI_FORMAT;
    if (!Header_GetItem(hwnd(), column, &heading))
        return;
    heading.fmt |= HDF_OWNERDRAW;
    Header_SetItem(hwnd(), column, &heading);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool SortHeaderControl::handleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM)
        return false;
    drawHeading(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void SortHeaderControl::drawHeading(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    const int dpi = win::windowDpi(hwnd());
    const RECT& r = item.rcItem;
    const int inset = (r.bottom - r.top) / 4;
    const int column = static_cast<int>(item.itemID);
    const bool sorted = column == sortColumn_;

    win::UniqueRegion clip(CreateRectRgnIndirect(&r));
    win::UniqueBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    win::SavedDcState saved(dc);
    SelectClipRgn(dc, clip.get());
    FillRect(dc, &r, face.get());

    wchar_t text[HeadingBufferLength] = {};
    HDITEMW heading{};
    heading.mask = HDI_TEXT | HDI_FORMAT;
    heading.pszText = text;
    heading.cchTextMax = HeadingBufferLength;
    Header_GetItem(hwnd(), column, &heading);

    RECT label = r;
    // Pressed, the label moves with the button face.
    if (item.itemState == ODS_SELECTED) {
        const int across = win::scaleForDpi(PressedShiftX, dpi);
        const int down = win::scaleForDpi(PressedShiftY, dpi);
        label.left += across;
        label.top += down;
        label.right += across;
    }
    if (sorted)
        label.right -= 3 * inset;
    label.left += inset;
    label.right -= inset;
    if (label.left < label.right)
        DrawTextW(dc, text, -1, &label, LabelFormat | alignmentFormat(heading.fmt));
    if (sorted)
        drawArrow(dc, r, inset, dpi);
}

// Two pens, light and shadow, give the triangle the bevel of the header's own edges.
void SortHeaderControl::drawArrow(HDC dc, const RECT& r, int inset, int dpi) const {
    const int o = inset;
    const int top = r.top;
    const int step = win::scaleForDpi(ArrowStep, dpi);
    const int twoSteps = win::scaleForDpi(ArrowDoubleStep, dpi);
    const int pen = win::scaleForDpi(ArrowPen, dpi);
    win::UniquePen light(CreatePen(PS_SOLID, pen, GetSysColor(COLOR_BTNHIGHLIGHT)));
    win::UniquePen shadow(CreatePen(PS_SOLID, pen, GetSysColor(COLOR_BTNSHADOW)));
    if (sortAscending_) {
        const POINT apex{r.right - 2 * o, top + o};
        const POINT right{r.right - o, r.bottom - o - step};
        line(dc, light.get(), apex, right);
        line(dc, light.get(), right, {r.right - 3 * o - twoSteps, r.bottom - o - step});
        line(dc, shadow.get(), {r.right - 3 * o - step, r.bottom - o - step},
             {r.right - 2 * o, top + o - step});
    } else {
        line(dc, light.get(), {r.right - o - step, top + o},
             {r.right - 2 * o - step, r.bottom - o});
        const POINT left{r.right - 3 * o - step, top + o};
        line(dc, shadow.get(), {r.right - 2 * o - twoSteps, r.bottom - o}, left);
        line(dc, shadow.get(), left, {r.right - o - step, top + o});
    }
}

} // namespace controls
