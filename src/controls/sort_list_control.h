#pragma once
// A report list that sorts its rows when a column heading is clicked: the sort column's heading
// again reverses the direction, another heading sorts by that column ascending. Columns come from
// one headings text ("名称, 80; 说明, 2, 260"). Each row keeps a RowRecord with its texts in the
// ANSI code page, which the sort compares (core::compareSortTexts) and which the owner reads back
// unchanged. Knows nothing of what its rows mean.
#include "controls/row_record.h"
#include "controls/sort_header_control.h"
#include "core/column_headings.h"
#include "win/control.h"

#include <functional>
#include <string>
#include <vector>

namespace controls {

class SortListControl : public win::Control {
public:
    SortListControl() = default;
    ~SortListControl() override;

    // Appends a column per entry of the headings text; false as soon as one cannot be added.
    bool setColumns(const std::wstring& headings);
    // The new column's index, or -1.
    int insertColumn(int index, const std::wstring& heading, core::ColumnAlignment alignment,
                     int width);

    // A row at `index` with one text per column (missing texts are empty) and a word for the
    // owner; the new row's index, or -1 when the list refused it.
    int addRow(int index, const std::vector<std::string>& texts, LPARAM ownerData = 0);
    // New texts and word for an existing row, which keeps its place, check box and selection.
    bool replaceRow(int index, const std::vector<std::string>& texts, LPARAM ownerData);
    // Deletes the row unless `keep` says otherwise for its user data; frees its record only once
    // the list has let go of it. With `selectAfter` the row now at that place is selected.
    using RowFilter = std::function<bool(LPARAM userData)>;
    bool deleteRow(int index, bool selectAfter = false, const RowFilter& deletable = {});
    // Deletes every selected row; the number of rows deleted.
    int deleteSelectedRows();
    // A column outside the list changes nothing.
    void sortBy(int column, bool ascending);

    int rowCount() const;
    int columnCount() const;
    bool isValidIndex(int index) const;
    // The row's text as it was added; empty for a row or column without one.
    std::string cellText(int index, int column) const;
    LPARAM userData(int index) const;
    bool isRowSelected(int index) const;
    // The first selected row after `start` (-1: from the top); -1 when there is none.
    int nextSelectedRow(int start) const;
    bool selectRow(int index, bool clamp);
    // Makes the row the only selected one and the one the keyboard works on; the selection moves
    // with the row when the list is sorted.
    bool selectOnly(int index);
    void scrollIntoView(int index);
    bool isRowChecked(int index) const;
    void setRowChecked(int index, bool checked);

    void setFullRowSelect(bool on);
    void setGridLines(bool on);
    void setCheckBoxes(bool on);

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onAttached() override;

private:
    void onColumnClick(int column);
    void onDpiChanged();
    void onDestroy();
    RowRecord* record(int index) const;
    // One text per column.
    std::vector<std::string> paddedTexts(const std::vector<std::string>& texts) const;
    void freeRowData(int index);
    bool setItemState(int index, UINT state, UINT mask);
    void setExtendedStyle(DWORD flag, bool on);
    void recopyTexts();
    static int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM self);

    SortHeaderControl header_;
    // The DPI the column widths were last measured for.
    int dpi_ = 0;
};

} // namespace controls
