#include "core/menu_rules.h"

#include <cstddef>

namespace core {

namespace {

MenuCheck checkIf(bool on) {
    return on ? MenuCheck::Checked : MenuCheck::Unchecked;
}

template <std::size_t N> int indexOf(const int (&ids)[N], int commandId) {
    for (std::size_t i = 0; i < N; ++i) {
        if (ids[i] == commandId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

int styleIndexForCommand(const MenuCommandIds& ids, int commandId) {
    return indexOf(ids.styles, commandId);
}

int opacityIndexForCommand(const MenuCommandIds& ids, int commandId) {
    return indexOf(ids.opacities, commandId);
}

MenuCheck menuCheckFor(const MenuCommandIds& ids, int commandId, const ClockSettings& s) {
    const int style = styleIndexForCommand(ids, commandId);
    if (style >= 0) {
        return checkIf(style == s.styleIndex);
    }
    const int opacity = opacityIndexForCommand(ids, commandId);
    if (opacity >= 0) {
        return checkIf(opacity == s.opacityIndex);
    }
    if (commandId == ids.alwaysOnTop) {
        return checkIf(s.alwaysOnTop != 0);
    }
    if (commandId == ids.lockPosition) {
        return checkIf(s.lockPosition != 0);
    }
    return MenuCheck::NoHandler;
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
