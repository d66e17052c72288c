#include "render/skin_resources.h"

#include "resource.h"

namespace render {

namespace {

constexpr SkinResourceIds BuiltInSkins[core::StyleCount] = {
    {IDR_PNG_FACE1, IDR_PNG_HOUR1, IDR_PNG_MINUTE1, IDR_PNG_SECOND1, IDR_PNG_CASE1},
    {IDR_PNG_FACE2, IDR_PNG_HOUR2, IDR_PNG_MINUTE2, IDR_PNG_SECOND2, IDR_PNG_CASE2},
    {IDR_PNG_FACE3, IDR_PNG_HOUR3, IDR_PNG_MINUTE3, IDR_PNG_SECOND3, IDR_PNG_CASE3},
    {IDR_PNG_FACE4, IDR_PNG_HOUR4, IDR_PNG_MINUTE4, IDR_PNG_SECOND4, IDR_PNG_CASE4},
    {IDR_PNG_FACE5, IDR_PNG_HOUR5, IDR_PNG_MINUTE5, IDR_PNG_SECOND5, IDR_PNG_CASE5},
};

constexpr SkinResourceIds BuiltInSkinsDoubleArt[core::StyleCount] = {
    {IDR_PNG_FACE1_2X, IDR_PNG_HOUR1_2X, IDR_PNG_MINUTE1_2X, IDR_PNG_SECOND1_2X, IDR_PNG_CASE1_2X},
    {IDR_PNG_FACE2_2X, IDR_PNG_HOUR2_2X, IDR_PNG_MINUTE2_2X, IDR_PNG_SECOND2_2X, IDR_PNG_CASE2_2X},
    {IDR_PNG_FACE3_2X, IDR_PNG_HOUR3_2X, IDR_PNG_MINUTE3_2X, IDR_PNG_SECOND3_2X, IDR_PNG_CASE3_2X},
    {IDR_PNG_FACE4_2X, IDR_PNG_HOUR4_2X, IDR_PNG_MINUTE4_2X, IDR_PNG_SECOND4_2X, IDR_PNG_CASE4_2X},
    {IDR_PNG_FACE5_2X, IDR_PNG_HOUR5_2X, IDR_PNG_MINUTE5_2X, IDR_PNG_SECOND5_2X, IDR_PNG_CASE5_2X},
};

int knownStyle(int styleIndex) {
    return (styleIndex >= 0 && styleIndex < core::StyleCount) ? styleIndex : 0;
}

} // namespace

const SkinResourceIds& builtInSkin(int styleIndex) {
    return BuiltInSkins[knownStyle(styleIndex)];
}

const SkinResourceIds& builtInSkinDoubleArt(int styleIndex) {
    return BuiltInSkinsDoubleArt[knownStyle(styleIndex)];
}

} // namespace render
