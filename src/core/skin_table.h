#pragma once

#include <cstdint>

namespace core {

constexpr int StyleCount = 5, CustomStyleIndex = 5;

// The look actually shown: the custom look needs a face image, otherwise look 0 stands in, as it
// does for any unknown index.
int resolvedStyleIndex(std::int32_t styleIndex, bool customFacePathEmpty);

} // namespace core
