#include "controls/sort_list_control.h"

#include "win/dpi.h"

#include "core/sort_order.h"
#include "win/strings.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace controls {

namespace {

// Cells are read back into a buffer of this many characters when a column is inserted.
constexpr int CellBufferLength = 1024;
// The check box is the row's state image.
constexpr UINT UncheckedImage = 1;
constexpr UINT CheckedImage = 2;

int listViewFormat(core::ColumnAlignment alignment) {
    switch (alignment) {
    case core::ColumnAlignment::Centre: return LVCFMT_CENTER;
    case core::ColumnAlignment::Right: return LVCFMT_RIGHT;
    case core::ColumnAlignment::Left:
    default: return LVCFMT_LEFT;
    }
}

// A row without a record, or a record shorter than the column, has an empty cell.
const std::string& recordText(const RowRecord* record, int column) {
    static const std::string empty;
    if (!record || column < 0 || static_cast<size_t>(column) >= record->texts.size())
        return empty;
    return record->texts[static_cast<size_t>(column)];
}

} // namespace

SortListControl::~SortListControl() {
    // The window may outlive this object (a dialog destroys its window after its members).
    if (hwnd())
        onDestroy();
}

bool SortListControl::setColumns(const std::wstring& headings) {
    for (const core::ColumnHeading& column : core::parseColumnHeadings(headings)) {
        if (insertColumn(columnCount(), column.name, column.alignment, column.width) < 0)
            return false;
    }
    return true;
}

int SortListControl::insertColumn(int index, const std::wstring& heading,
                                  core::ColumnAlignment alignment, int width) {
    std::wstring text = heading;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = listViewFormat(alignment);
    // Widths are given at 96 DPI; the list measures in the pixels of its monitor.
    column.cx = win::scaleForDpi(width, win::windowDpi(hwnd()));
    column.pszText = &text[0];
    const int inserted = ListView_InsertColumn(hwnd(), index, &column);
    if (inserted >= 0)
        recopyTexts();
    return inserted;
}

// The cells moved with the new column; each record takes them again, one text per column.
void SortListControl::recopyTexts() {
    const int columns = columnCount();
    for (int row = 0; row < rowCount(); ++row) {
        RowRecord* rowRecord = record(row);
        if (!rowRecord)
            continue;
        rowRecord->texts.assign(static_cast<size_t>(columns), std::string());
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[CellBufferLength] = {};
            ListView_GetItemText(hwnd(), row, column, cell, CellBufferLength);
            rowRecord->texts[static_cast<size_t>(column)] = win::wideToAnsi(cell);
        }
    }
}

int SortListControl::addRow(int index, const std::vector<std::string>& texts, LPARAM ownerData) {
    std::vector<std::string> rowTexts = paddedTexts(texts);
    std::wstring first = win::ansiToWide(rowTexts[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = &first[0];
    const int row = ListView_InsertItem(hwnd(), &item);
    if (!isValidIndex(row))
        return -1;
    for (size_t column = 1; column < rowTexts.size(); ++column) {
        std::wstring cell = win::ansiToWide(rowTexts[column]);
        ListView_SetItemText(hwnd(), row, static_cast<int>(column), &cell[0]);
    }
    auto rowRecord = std::make_unique<RowRecord>(std::move(rowTexts), ownerData);
    LVITEMW param{};
    param.mask = LVIF_PARAM;
    param.iItem = row;
    param.lParam = reinterpret_cast<LPARAM>(rowRecord.get());
    if (ListView_SetItem(hwnd(), &param))
        rowRecord.release(); // the row owns it now
    return row;
}

bool SortListControl::replaceRow(int index, const std::vector<std::string>& texts,
                                 LPARAM ownerData) {
    RowRecord* rowRecord = record(index);
    if (!rowRecord)
        return false;
    rowRecord->texts = paddedTexts(texts);
    rowRecord->userData = ownerData;
    for (size_t column = 0; column < rowRecord->texts.size(); ++column) {
        std::wstring cell = win::ansiToWide(rowRecord->texts[column]);
        ListView_SetItemText(hwnd(), index, static_cast<int>(column), &cell[0]);
    }
    return true;
}

std::vector<std::string> SortListControl::paddedTexts(const std::vector<std::string>& texts) const {
    std::vector<std::string> rowTexts = texts;
    rowTexts.resize(static_cast<size_t>(std::max(columnCount(), 1)));
    return rowTexts;
}

bool SortListControl::deleteRow(int index, bool selectAfter, const RowFilter& deletable) {
    if (!isValidIndex(index))
        return false;
    // Taken before the row goes; freed only if it really went.
    RowRecord* rowRecord = record(index);
    if (deletable && !deletable(rowRecord ? rowRecord->userData : 0))
        return false;
    if (ListView_DeleteItem(hwnd(), index))
        delete rowRecord;
    if (selectAfter)
        selectRow(index, true);
    return true;
}

int SortListControl::deleteSelectedRows() {
    std::vector<int> selected;
    for (int row = nextSelectedRow(-1); row >= 0; row = nextSelectedRow(row))
        selected.push_back(row);
    // From the bottom up, so the rows still to go keep their indices.
    int deleted = 0;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
        deleted += deleteRow(*row) ? 1 : 0;
    return deleted;
}

void SortListControl::sortBy(int column, bool ascending) {
    if (column < 0 || column >= columnCount())
        return;
    header_.setSortColumn(column);
    header_.setSortAscending(ascending);
    header_.ownHeading(column);
    ListView_SortItems(hwnd(), compareRows, reinterpret_cast<LPARAM>(this));
}

int CALLBACK SortListControl::compareRows(LPARAM first, LPARAM second, LPARAM self) {
    const auto* list = reinterpret_cast<const SortListControl*>(self);
    const int column = list->header_.sortColumn();
    return core::compareSortTexts(recordText(reinterpret_cast<const RowRecord*>(first), column),
                                  recordText(reinterpret_cast<const RowRecord*>(second), column),
                                  list->header_.sortAscending());
}

int SortListControl::rowCount() const {
    return ListView_GetItemCount(hwnd());
}

int SortListControl::columnCount() const {
    return Header_GetItemCount(ListView_GetHeader(hwnd()));
}

bool SortListControl::isValidIndex(int index) const {
    return index >= 0 && index < rowCount();
}

std::string SortListControl::cellText(int index, int column) const {
    return recordText(record(index), column);
}

LPARAM SortListControl::userData(int index) const {
    if (const RowRecord* rowRecord = record(index))
        return rowRecord->userData;
    return 0;
}

RowRecord* SortListControl::record(int index) const {
    if (!isValidIndex(index))
        return nullptr;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!ListView_GetItem(hwnd(), &item))
        return nullptr;
    return reinterpret_cast<RowRecord*>(item.lParam);
}

bool SortListControl::isRowSelected(int index) const {
    for (int row = nextSelectedRow(-1); row >= 0; row = nextSelectedRow(row)) {
        if (row == index)
            return true;
    }
    return false;
}

int SortListControl::nextSelectedRow(int start) const {
    return ListView_GetNextItem(hwnd(), start < 0 ? -1 : start, LVNI_SELECTED);
}

bool SortListControl::selectRow(int index, bool clamp) {
    if (!isValidIndex(index)) {
        if (!clamp || rowCount() == 0)
            return false;
        index = std::min(std::max(index, 0), rowCount() - 1);
    }
    return setItemState(index, LVIS_SELECTED, LVIS_SELECTED);
}

bool SortListControl::selectOnly(int index) {
    if (!isValidIndex(index))
        return false;
    constexpr int allRows = -1;
    setItemState(allRows, 0, LVIS_SELECTED);
    return setItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SortListControl::scrollIntoView(int index) {
    ListView_EnsureVisible(hwnd(), index, FALSE);
}

bool SortListControl::setItemState(int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    return SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool SortListControl::isRowChecked(int index) const {
    const UINT state = ListView_GetItemState(hwnd(), index, LVIS_STATEIMAGEMASK);
    return state == INDEXTOSTATEIMAGEMASK(CheckedImage);
}

void SortListControl::setRowChecked(int index, bool checked) {
    setItemState(index, INDEXTOSTATEIMAGEMASK(checked ? CheckedImage : UncheckedImage),
                 LVIS_STATEIMAGEMASK);
}

void SortListControl::setFullRowSelect(bool on) {
    setExtendedStyle(LVS_EX_FULLROWSELECT, on);
}

void SortListControl::setGridLines(bool on) {
    setExtendedStyle(LVS_EX_GRIDLINES, on);
}

void SortListControl::setCheckBoxes(bool on) {
    setExtendedStyle(LVS_EX_CHECKBOXES, on);
}

void SortListControl::setExtendedStyle(DWORD flag, bool on) {
    const DWORD style = ListView_GetExtendedListViewStyle(hwnd());
    ListView_SetExtendedListViewStyle(hwnd(), on ? (style | flag) : (style & ~flag));
}

win::Handled SortListControl::handleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    switch (message) {
    case WM_DESTROY: onDestroy(); return win::Handled::AndDefault;
    case win::DpiChangedAfterParentMessage: onDpiChanged(); return win::Handled::AndDefault;
    default: return win::Handled::No;
    }
}

bool SortListControl::handleReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY)
        return false;
    const auto& notice = *reinterpret_cast<const NMLISTVIEW*>(lParam);
    switch (notice.hdr.code) {
    case LVN_COLUMNCLICK:
        onColumnClick(notice.iSubItem);
        result = 0;
        return true;
    default: return false;
    }
}

void SortListControl::onAttached() {
    header_.attachWindow(ListView_GetHeader(hwnd()));
    setFullRowSelect(true);
    dpi_ = win::windowDpi(hwnd());
}

// Windows scales the dialog and the list's font for the new monitor, not the columns: each keeps
// its width, the user's own included, in the new monitor's pixels.
void SortListControl::onDpiChanged() {
    const int dpi = win::windowDpi(hwnd());
    if (dpi_ <= 0 || dpi == dpi_) {
        dpi_ = dpi;
        return;
    }
    for (int column = 0; column < columnCount(); ++column)
        ListView_SetColumnWidth(hwnd(), column,
                                MulDiv(ListView_GetColumnWidth(hwnd(), column), dpi, dpi_));
    dpi_ = dpi;
}

void SortListControl::onColumnClick(int column) {
    const bool ascending = column == header_.sortColumn() ? !header_.sortAscending() : true;
    sortBy(column, ascending);
}

void SortListControl::onDestroy() {
    for (int row = 0; row < rowCount(); ++row)
        freeRowData(row);
}

void SortListControl::freeRowData(int index) {
    RowRecord* rowRecord = record(index);
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = 0;
    ListView_SetItem(hwnd(), &item);
    delete rowRecord;
}

} // namespace controls
