#pragma once

#include <cstdint>

namespace core {

constexpr int StyleCount = 5, CustomStyleIndex = 5;

// Bitmap resource ids that make up one built-in look.
struct SkinResourceIds {
    int face, hour, minute, second, caseImage;
};

// Resources of built-in look 0..4; any other index gives look 0.
const SkinResourceIds& builtInSkin(int styleIndex);

// The look actually shown: the custom look needs a face image, otherwise look 0 stands in, as it
// does for any unknown index.
int resolvedStyleIndex(std::int32_t styleIndex, bool customFacePathEmpty);

} // namespace core
