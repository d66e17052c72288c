// The list's sort comparison on three texts (the input split at zero bytes). It must be a strict
// weak ordering on them: results -1, 0 or 1; irreflexive; antisymmetric; "less" and "equivalent"
// transitive over every ordering of the three, also mixed (a < b, b ~ c gives a < c). Descending
// is the exact reverse of ascending. Texts that differ only in surrounding white space are
// equivalent, and a time of day alone comes before every date, as the header promises.
#include <array>
#include <vector>
#include <string>

#include "core/clock_time.h"
#include "core/sort_order.h"
#include "fuzz_support.h"

namespace {

using core::compareSortTexts;

void checkPair(const std::string& a, const std::string& b) {
    const int ab = compareSortTexts(a, b);
    fuzz::require(ab == -1 || ab == 0 || ab == 1, "the result is -1, 0 or 1");
    fuzz::require(ab == -compareSortTexts(b, a), "antisymmetric");
    fuzz::require(compareSortTexts(a, b, true) == ab, "ascending is the plain order");
    fuzz::require(compareSortTexts(a, b, false) == -ab, "descending is the exact reverse");
}

void checkTriple(const std::string& a, const std::string& b, const std::string& c) {
    const int ab = compareSortTexts(a, b);
    const int bc = compareSortTexts(b, c);
    const int ac = compareSortTexts(a, c);
    if (ab <= 0 && bc <= 0) {
        fuzz::require(ac <= 0, "transitive");
        fuzz::require((ab < 0 || bc < 0) == (ac < 0), "less and equivalent carry over");
    }
}

bool isTimeAlone(const std::string& text) {
    return core::parseTimeOfDay(core::trimSpace(text)).has_value();
}

bool isDate(const std::string& text) {
    return core::sortKindOf(core::trimSpace(text)) == core::SortKind::DateTime &&
           !isTimeAlone(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> t = fuzz::textsOf(data, size, 3);
    for (const std::string& a : t) {
        fuzz::require(compareSortTexts(a, a) == 0, "irreflexive");
        fuzz::require(compareSortTexts(a, " \t" + a + "\r\n ") == 0,
                      "surrounding white space does not count");
        for (const std::string& b : t) {
            checkPair(a, b);
            if (isTimeAlone(a) && isDate(b))
                fuzz::require(compareSortTexts(a, b) < 0, "a time alone comes before every date");
        }
    }
    const std::array<std::array<int, 3>, 6> orders = {
        {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}};
    for (const auto& o : orders)
        checkTriple(t[o[0]], t[o[1]], t[o[2]]);
    return 0;
}
