#pragma once
// The header of a SortListControl: it remembers the sort column and direction and draws each
// heading it was asked to own, with a bevelled triangle on the sort column that points up for
// ascending and down for descending.
#include "win/control.h"

namespace controls {

class SortHeaderControl : public win::Control {
public:
    int sortColumn() const { return sortColumn_; }
    void setSortColumn(int column) { sortColumn_ = column; }
    bool sortAscending() const { return sortAscending_; }
    void setSortAscending(bool ascending) { sortAscending_ = ascending; }

    // From now on the heading is drawn here; the whole header repaints.
    void ownHeading(int column);

protected:
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void drawHeading(const DRAWITEMSTRUCT& item) const;
    void drawArrow(HDC dc, const RECT& r, int inset, int dpi) const;

    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

} // namespace controls
