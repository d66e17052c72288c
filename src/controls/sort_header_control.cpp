#include "controls/sort_header_control.h"

#include "win/handles.h"

#include <commctrl.h>

namespace controls {

namespace {

// Headings are fetched into a buffer of this many characters; a longer one is drawn cut short.
constexpr int HeadingBufferLength = 256;

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
        label.left += 1;
        label.top += 2;
        label.right += 1;
    }
    if (sorted)
        label.right -= 3 * inset;
    label.left += inset;
    label.right -= inset;
    if (label.left < label.right)
        DrawTextW(dc, text, -1, &label, LabelFormat | alignmentFormat(heading.fmt));
    if (sorted)
        drawArrow(dc, r, inset);
}

// Two pens, light and shadow, give the triangle the bevel of the header's own edges.
void SortHeaderControl::drawArrow(HDC dc, const RECT& r, int inset) const {
    const int o = inset;
    const int top = r.top;
    win::UniquePen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    win::UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    if (sortAscending_) {
        const POINT apex{r.right - 2 * o, top + o};
        const POINT right{r.right - o, r.bottom - o - 1};
        line(dc, light.get(), apex, right);
        line(dc, light.get(), right, {r.right - 3 * o - 2, r.bottom - o - 1});
        line(dc, shadow.get(), {r.right - 3 * o - 1, r.bottom - o - 1},
             {r.right - 2 * o, top + o - 1});
    } else {
        line(dc, light.get(), {r.right - o - 1, top + o}, {r.right - 2 * o - 1, r.bottom - o});
        const POINT left{r.right - 3 * o - 1, top + o};
        line(dc, shadow.get(), {r.right - 2 * o - 2, r.bottom - o}, left);
        line(dc, shadow.get(), left, {r.right - o - 1, top + o});
    }
}

} // namespace controls
