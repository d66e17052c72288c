#include "core/skin_table.h"

namespace core {

int resolvedStyleIndex(std::int32_t styleIndex, bool customFacePathEmpty) {
    if (styleIndex >= 0 && styleIndex < StyleCount) {
        return static_cast<int>(styleIndex);
    }
    if (styleIndex == CustomStyleIndex && !customFacePathEmpty) {
        return CustomStyleIndex;
    }
    return 0;
}

} // namespace core
