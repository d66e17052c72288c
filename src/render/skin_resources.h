#pragma once
// The "PNG" resources that make up each built-in look.
#include "core/skin_table.h"

namespace render {

struct SkinResourceIds {
    int face, hour, minute, second, caseImage;
};

// Resources of built-in look 0..4; any other index gives look 0.
const SkinResourceIds& builtInSkin(int styleIndex);
// The same look drawn at twice the size, for high-DPI screens.
SkinResourceIds builtInSkinDoubleArt(int styleIndex);

} // namespace render
