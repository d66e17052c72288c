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

int knownStyle(int styleIndex) {
    return (styleIndex >= 0 && styleIndex < core::StyleCount) ? styleIndex : 0;
}

} // namespace

const SkinResourceIds& builtInSkin(int styleIndex) {
    return BuiltInSkins[knownStyle(styleIndex)];
}

SkinResourceIds builtInSkinDoubleArt(int styleIndex) {
    const SkinResourceIds& ids = builtInSkin(styleIndex);
    constexpr int Offset = DOUBLE_ART_ID_OFFSET;
    return {ids.face + Offset, ids.hour + Offset, ids.minute + Offset, ids.second + Offset,
            ids.caseImage + Offset};
}

} // namespace render
