// Cutting texts to a size on character boundaries. The first byte gives the size (255: no
// limit), the second the code page (936's lead bytes, none, or every byte a lead byte), the rest
// is the text, also taken as UTF-16 units for cutUtf16.
// cutAnsi gives a prefix of the text, no longer than the size, ending where a character ends
// (characters read from the start: a lead byte and the byte after it, a lead byte at the very
// end alone), and the longest such: the next character would not fit. Cutting the result again
// changes nothing. cutUtf16 gives the longest prefix within the size that does not end between
// the two halves of a surrogate pair.
#include <algorithm>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint8_t NoLimit = 255;

bool everyByteLeads(unsigned char) {
    return true;
}

// Where the characters of the text end, read from its start.
std::vector<std::size_t> characterEnds(const std::string& text, core::LeadBytePredicate isLead) {
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at < text.size();) {
        const bool lead = isLead != nullptr && isLead(static_cast<unsigned char>(text[at]));
        at += lead && at + 1 < text.size() ? 2 : 1;
        ends.push_back(at);
    }
    return ends;
}

void checkAnsi(const std::string& text, std::size_t maxBytes, core::LeadBytePredicate isLead) {
    const std::string cut = core::cutAnsi(text, maxBytes, isLead);
    fuzz::require(cut.size() <= maxBytes, "never longer than asked");
    fuzz::require(text.compare(0, cut.size(), cut) == 0, "a prefix of the text");
    std::size_t longest = 0;
    for (const std::size_t end : characterEnds(text, isLead)) {
        if (end <= maxBytes)
            longest = end;
    }
    fuzz::require(cut.size() == longest, "ends after the last whole character that fits");
    fuzz::require(core::cutAnsi(cut, maxBytes, isLead) == cut, "a cut text stays as it is");
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void checkUtf16(const std::u16string& text, std::size_t maxUnits) {
    const std::u16string cut = core::cutUtf16(text, maxUnits);
    fuzz::require(text.compare(0, cut.size(), cut) == 0, "a prefix of the text");
    std::size_t expected = std::min(text.size(), maxUnits);
    if (expected > 0 && expected < text.size() && isHighSurrogate(text[expected - 1]) &&
        isLowSurrogate(text[expected])) {
        --expected;
    }
    fuzz::require(cut.size() == expected, "a pair is kept whole or left out");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    const std::uint8_t limit = in.byte();
    const std::size_t maxBytes =
        limit == NoLimit ? std::numeric_limits<std::size_t>::max() : std::size_t{limit};
    const core::LeadBytePredicate predicates[] = {core::isGbkLeadByte, nullptr, everyByteLeads};
    const core::LeadBytePredicate isLead = predicates[in.byte() % std::size(predicates)];
    const std::size_t textStart = std::min<std::size_t>(size, 2);
    const std::string text = fuzz::textOf(data + textStart, size - textStart);
    checkAnsi(text, maxBytes, isLead);

    std::u16string units;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(text[i]) |
                                       static_cast<unsigned char>(text[i + 1]) << 8);
    checkUtf16(units, maxBytes);
    return 0;
}
