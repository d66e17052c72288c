// The headings grammar on any text. Bytes below 0x80 are those characters; the others stand for
// CJK ideographs, so names hold characters outside ASCII too. The parse must equal a second
// reading written from the grammar's description rather than from the parser: split at ";", take
// entries while they hold a ",", the name before the first comma exactly as written, the integers
// read as the C library's wcstoll reads them (then kept within int), alignment code 1 centred,
// 2 right, any other left, width at least 1.
#include <algorithm>
#include <climits>
#include <cwchar>
#include <string>
#include <vector>

#include "core/column_headings.h"
#include "fuzz_support.h"

namespace {

using core::ColumnAlignment;
using core::ColumnHeading;

constexpr wchar_t FirstIdeograph = 0x4E00;
constexpr std::uint8_t FirstNonAscii = 0x80;

std::wstring headingsFrom(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i)
        text += data[i] < FirstNonAscii ? static_cast<wchar_t>(data[i])
                                        : static_cast<wchar_t>(FirstIdeograph + data[i]);
    return text;
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (const wchar_t c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

int integerOf(const std::wstring& text) {
    // wcstoll stops at the first zero, which the parser reads as just another non-digit.
    const long long value = std::wcstoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, -INT_MAX, INT_MAX));
}

std::vector<ColumnHeading> expectedHeadings(const std::wstring& text) {
    std::vector<ColumnHeading> columns;
    for (const std::wstring& entry : split(text, L';')) {
        const std::vector<std::wstring> parts = split(entry, L',');
        if (parts.size() < 2)
            break;
        ColumnHeading column;
        column.name = parts[0];
        std::wstring widthText = entry.substr(parts[0].size() + 1);
        if (parts.size() > 2) {
            const int code = integerOf(parts[1]);
            column.alignment = code == 1   ? ColumnAlignment::Centre
                               : code == 2 ? ColumnAlignment::Right
                                           : ColumnAlignment::Left;
            widthText = entry.substr(parts[0].size() + parts[1].size() + 2);
        }
        column.width = std::max(1, integerOf(widthText));
        columns.push_back(column);
    }
    return columns;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = headingsFrom(data, size);
    const std::vector<ColumnHeading> columns = core::parseColumnHeadings(text);
    const std::vector<ColumnHeading> expected = expectedHeadings(text);
    fuzz::require(columns.size() == expected.size(), "one column per entry up to the first "
                                                     "without a comma");
    for (std::size_t i = 0; i < columns.size(); ++i) {
        fuzz::require(columns[i].name == expected[i].name, "the name as written");
        fuzz::require(columns[i].alignment == expected[i].alignment, "the alignment of the code");
        fuzz::require(columns[i].width == expected[i].width, "the width, at least 1");
    }
    return 0;
}
