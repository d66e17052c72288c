#pragma once
// The headings text of the sortable list: entries separated by ";", each a name and a width, or a
// name, an alignment code (1 centred, 2 right, anything else left) and a width, separated by
// ",". Example: "闹铃时间, 80; 提醒内容, 260".
#include <string>
#include <vector>

namespace core {

enum class ColumnAlignment { Left, Centre, Right };

struct ColumnHeading {
    std::wstring name; // exactly as written, blanks included
    ColumnAlignment alignment = ColumnAlignment::Left;
    int width = 1; // pixels, at least 1
};

// One heading per entry, up to the first entry without a comma, which ends the list.
std::vector<ColumnHeading> parseColumnHeadings(const std::wstring& headings);

} // namespace core
