#include "core/skin_table.h"

namespace core {

namespace {

constexpr SkinResourceIds BuiltInSkins[StyleCount] = {
    {134, 137, 136, 135, 140}, {143, 144, 146, 142, 145}, {148, 149, 151, 147, 150},
    {153, 154, 156, 152, 155}, {180, 181, 183, 184, 182},
};

} // namespace

const SkinResourceIds& builtInSkin(int styleIndex) {
    return BuiltInSkins[(styleIndex >= 0 && styleIndex < StyleCount) ? styleIndex : 0];
}

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
