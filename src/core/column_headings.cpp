#include "core/column_headings.h"

#include <climits>

namespace core {

namespace {

constexpr int CentredCode = 1;
constexpr int RightCode = 2;
constexpr int MinimumWidth = 1;

bool isBlank(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// A decimal integer as the C library's atoi reads it: leading blanks skipped, an optional sign,
// digits up to the first other character; 0 when there are none. Saturates instead of
// overflowing.
int leadingInteger(const std::wstring& text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == L'-';
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = value * 10 + (text[at] - L'0');
        if (value > INT_MAX) {
            value = INT_MAX;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

ColumnAlignment alignmentOf(int code) {
    switch (code) {
    case CentredCode: return ColumnAlignment::Centre;
    case RightCode: return ColumnAlignment::Right;
    default: return ColumnAlignment::Left;
    }
}

} // namespace

std::vector<ColumnHeading> parseColumnHeadings(const std::wstring& headings) {
    std::vector<ColumnHeading> columns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = headings.find(L';', start);
        const std::wstring entry = headings.substr(start, end - start);
        const std::size_t comma = entry.find(L',');
        if (comma == std::wstring::npos) {
            break;
        }
        ColumnHeading column;
        column.name = entry.substr(0, comma);
        const std::size_t second = entry.find(L',', comma + 1);
        std::wstring widthText = entry.substr(comma + 1);
        if (second != std::wstring::npos) {
            column.alignment =
                alignmentOf(leadingInteger(entry.substr(comma + 1, second - comma - 1)));
            widthText = entry.substr(second + 1);
        }
        const int width = leadingInteger(widthText);
        column.width = width < MinimumWidth ? MinimumWidth : width;
        columns.push_back(column);
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return columns;
}

} // namespace core
