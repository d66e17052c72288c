#include "core/holidays_file.h"

#include <optional>

#include "core/clock_time.h"
#include "core/codepage.h"

namespace core {

const wchar_t* const HolidaysFileName = L"Holidays.txt";

namespace {

const std::string Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr wchar_t CommentStart = L'#';
constexpr wchar_t RestMark = L'休';
constexpr wchar_t WorkMark = L'班';
// A line quoted in the balloon is cut to this many characters, so the balloon keeps its end.
constexpr std::size_t QuotedLineMaxUnits = 60;

// The code point of a strictly valid sequence starting at `i` (which moves past it).
std::optional<char32_t> nextCodePoint(const std::string& bytes, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    const unsigned char first = byte(i);
    if (first < 0x80) {
        ++i;
        return first;
    }
    // The sequence's length, the bits of its first byte, and the least value it may encode.
    struct Form {
        unsigned char firstMin, firstMax;
        int length;
        unsigned char bits;
        char32_t least;
    };
    static constexpr Form Forms[] = {
        {0xC2, 0xDF, 2, 0x1F, 0x80}, {0xE0, 0xEF, 3, 0x0F, 0x800}, {0xF0, 0xF4, 4, 0x07, 0x10000}};
    const Form* form = nullptr;
    for (const Form& candidate : Forms) {
        if (first >= candidate.firstMin && first <= candidate.firstMax) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return std::nullopt;
    }
    const int length = form->length;
    const char32_t least = form->least;
    char32_t value = first & form->bits;
    if (bytes.size() - i < static_cast<std::size_t>(length)) {
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0u) != 0x80u) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        return std::nullopt;
    }
    i += static_cast<std::size_t>(length);
    return value;
}

void appendCodePoint(std::wstring& out, char32_t c) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FFu));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

std::optional<std::wstring> fromUtf8(const std::string& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::optional<char32_t> c = nextCodePoint(bytes, i);
        if (!c) {
            return std::nullopt;
        }
        appendCodePoint(text, *c);
    }
    return text;
}

std::wstring decodeText(const std::string& bytes,
                        std::wstring (*ansiToWide)(const std::string& bytes)) {
    const bool marked = bytes.compare(0, Utf8ByteOrderMark.size(), Utf8ByteOrderMark) == 0;
    const std::string body = marked ? bytes.substr(Utf8ByteOrderMark.size()) : bytes;
    if (std::optional<std::wstring> text = fromUtf8(body)) {
        return *text;
    }
    return ansiToWide != nullptr ? ansiToWide(body) : std::wstring();
}

bool isBlank(wchar_t c) {
    // The ideographic space is what a Chinese input method types.
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\u3000' || c == L'\uFEFF';
}

std::wstring trimmed(const std::wstring& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Reads `minDigits`..`maxDigits` ASCII digits at `i`.
std::optional<int> readNumber(const std::wstring& text, std::size_t& i, std::size_t minDigits,
                              std::size_t maxDigits) {
    int value = 0;
    std::size_t digits = 0;
    while (i < text.size() && digits < maxDigits && text[i] >= L'0' && text[i] <= L'9') {
        value = value * 10 + (text[i] - L'0');
        ++i;
        ++digits;
    }
    return digits >= minDigits ? std::optional<int>(value) : std::nullopt;
}

bool readSeparator(const std::wstring& text, std::size_t& i) {
    if (i < text.size() && (text[i] == L'-' || text[i] == L'/')) {
        ++i;
        return true;
    }
    return false;
}

// "2027-1-1" or "2027/01/01", nothing else.
std::optional<CivilDate> parseDate(const std::wstring& text) {
    std::size_t i = 0;
    const std::optional<int> year = readNumber(text, i, 4, 4);
    if (!year || !readSeparator(text, i)) {
        return std::nullopt;
    }
    const std::optional<int> month = readNumber(text, i, 1, 2);
    if (!month || !readSeparator(text, i)) {
        return std::nullopt;
    }
    const std::optional<int> day = readNumber(text, i, 1, 2);
    if (!day || i != text.size() || !isValidDate(*year, *month, *day)) {
        return std::nullopt;
    }
    return CivilDate{*year, *month, *day};
}

std::optional<MarkedDay> parseLine(const std::wstring& content) {
    const wchar_t mark = content.back();
    if (mark != RestMark && mark != WorkMark) {
        return std::nullopt;
    }
    const std::optional<CivilDate> date = parseDate(trimmed(content.substr(0, content.size() - 1)));
    if (!date) {
        return std::nullopt;
    }
    return MarkedDay{*date, mark == WorkMark ? DayKind::Work : DayKind::Rest};
}

} // namespace

HolidaysFile HolidaysFile::parse(const std::string& bytes,
                                 std::wstring (*ansiToWide)(const std::string& bytes)) {
    const std::wstring text = decodeText(bytes, ansiToWide);
    HolidaysFile file;
    int number = 0;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        const std::wstring content = trimmed(line.substr(0, line.find(CommentStart)));
        if (content.empty()) {
            continue;
        }
        if (const std::optional<MarkedDay> day = parseLine(content)) {
            file.days.push_back(*day);
        } else {
            file.badLines.push_back({number + 1, trimmed(line)});
        }
    }
    return file;
}

std::wstring badHolidaysLinesText(const std::vector<BadHolidaysLine>& badLines) {
    if (badLines.empty()) {
        return std::wstring();
    }
    const BadHolidaysLine& first = badLines.front();
    std::wstring quoted = cutWide(first.text, QuotedLineMaxUnits);
    if (quoted.size() < first.text.size()) {
        quoted += L"…";
    }
    std::wstring text = std::wstring(HolidaysFileName) + L" 第 " + std::to_wstring(first.number) +
                        L" 行无法识别，已跳过：\n" + quoted;
    if (badLines.size() > 1) {
        text += L"\n（另有 " + std::to_wstring(badLines.size() - 1) + L" 行也无法识别）";
    }
    return cutWide(text + L"\n每行一个日期，例如 2027-01-01 休 或 2027-02-07 班",
                   BalloonTextMaxUnits);
}

} // namespace core
