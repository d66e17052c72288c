#include "core/codepage.h"

namespace core {

bool isGbkLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

std::string cutAnsi(const std::string& text, std::size_t maxBytes, LeadBytePredicate isLead) {
    // Walk from the start: trail bytes of GBK overlap the lead range, so a character boundary
    // cannot be recognised by looking backwards from the cut point.
    std::size_t end = 0;
    while (end < text.size()) {
        const bool lead = isLead != nullptr && isLead(static_cast<unsigned char>(text[end]));
        const std::size_t length = (lead && end + 1 < text.size()) ? 2 : 1;
        if (length > maxBytes - end) {
            break;
        }
        end += length;
    }
    return text.substr(0, end);
}

namespace {

constexpr bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

template <typename String> String cutUtf16Units(const String& text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) {
        return text;
    }
    std::size_t end = maxUnits;
    // A pair is self-delimiting, so only the two units around the cut need looking at.
    if (end > 0 && isHighSurrogate(static_cast<char32_t>(text[end - 1])) &&
        isLowSurrogate(static_cast<char32_t>(text[end]))) {
        --end;
    }
    return text.substr(0, end);
}

} // namespace

std::wstring cutWide(const std::wstring& text, std::size_t maxUnits) {
    if (sizeof(wchar_t) == 2) {
        return cutUtf16Units(text, maxUnits);
    }
    return text.substr(0, maxUnits);
}

std::u16string cutUtf16(const std::u16string& text, std::size_t maxUnits) {
    return cutUtf16Units(text, maxUnits);
}

} // namespace core
