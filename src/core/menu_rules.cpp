#include "core/menu_rules.h"

namespace core {

namespace {

constexpr int StyleCommands[] = {ID_STYLE1, ID_STYLE2, ID_STYLE3,
                                 ID_STYLE4, ID_STYLE5, ID_STYLE_CUSTOM};
constexpr int StyleCommandCount = static_cast<int>(sizeof StyleCommands / sizeof StyleCommands[0]);

MenuCheck checkIf(bool on) {
    return on ? MenuCheck::Checked : MenuCheck::Unchecked;
}

} // namespace

int styleIndexForCommand(int commandId) {
    for (int i = 0; i < StyleCommandCount; ++i) {
        if (StyleCommands[i] == commandId) {
            return i;
        }
    }
    return -1;
}

int styleCommandForIndex(int styleIndex) {
    return (styleIndex >= 0 && styleIndex < StyleCommandCount) ? StyleCommands[styleIndex] : 0;
}

int opacityIndexForCommand(int commandId) {
    return (commandId >= ID_OPACITY_100 && commandId <= ID_OPACITY_20) ? commandId - ID_OPACITY_100
                                                                       : -1;
}

MenuCheck menuCheckFor(int commandId, const ClockSettings& s) {
    const int style = styleIndexForCommand(commandId);
    if (style >= 0) {
        return checkIf(style == s.styleIndex);
    }
    const int opacity = opacityIndexForCommand(commandId);
    if (opacity >= 0) {
        return checkIf(opacity == s.opacityIndex);
    }
    switch (commandId) {
    case ID_ALWAYS_ON_TOP: return checkIf(s.alwaysOnTop != 0);
    case ID_LOCK_POSITION: return checkIf(s.lockPosition != 0);
    default: return MenuCheck::NoHandler;
    }
}

const wchar_t* clickThroughMenuText(std::int32_t clickThrough) {
    return clickThrough != 0 ? L"取消穿透" : L"鼠标穿透";
}

int nextUpdatePosition(int position, int countBefore, int countAfter, int handledId,
                       const std::function<int(int)>& idAt) {
    if (countAfter < countBefore) {
        position -= countBefore - countAfter;
        if (position < -1) {
            // More items vanished than preceded this one; the menu was rebuilt under us, so the
            // walk ends rather than revisit items or step to a negative position.
            return countAfter;
        }
        while (position >= 0 && position < countAfter && idAt(position) == handledId) {
            ++position;
        }
    }
    return position + 1;
}

} // namespace core
