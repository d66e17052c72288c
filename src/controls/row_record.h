#pragma once
// What a row of a SortListControl carries: a copy of its cell texts, which the sort compares,
// and a word for the list's owner. The list owns each record and frees it exactly once.
#include <windows.h>

#include <string>
#include <vector>

namespace controls {

struct RowRecord {
    RowRecord(std::vector<std::string> rowTexts, LPARAM ownerData);
    ~RowRecord();
    RowRecord(const RowRecord&) = delete;
    RowRecord& operator=(const RowRecord&) = delete;

    // One per column, in the ANSI code page.
    std::vector<std::string> texts;
    LPARAM userData;

    // Records alive in the process, so a leak or a double free shows.
    static int liveCount();
};

} // namespace controls
