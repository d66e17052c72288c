#pragma once

#include <cstdint>
#include <functional>

#include "core/settings.h"
#include "core/skin_table.h"

namespace core {

constexpr int OpacityCount = 5;

// The command ids of the clock menu, handed in by the menu that owns them.
struct MenuCommandIds {
    int styles[CustomStyleIndex + 1]; // the five looks, then the custom look
    int opacities[OpacityCount];      // 100 % .. 20 %
    int alwaysOnTop, lockPosition;
};

// 0..4 for the built-in looks, 5 for the custom look, -1 for any other command.
int styleIndexForCommand(const MenuCommandIds& ids, int commandId);
// 0..4 for the opacity commands (100 % .. 20 %), -1 otherwise.
int opacityIndexForCommand(const MenuCommandIds& ids, int commandId);

enum class MenuCheck { NoHandler, Checked, Unchecked };
// Check mark of a menu item from the stored settings. Items without a check handler (including
// the click-through item, whose text changes instead) give NoHandler.
MenuCheck menuCheckFor(const MenuCommandIds& ids, int commandId, const ClockSettings& s);
const wchar_t* clickThroughMenuText(std::int32_t clickThrough);

// One step of the walk that updates a popup's items. Given the position just handled, the item
// count before and after its handler ran and the handled id, returns the position to handle
// next. When the handler removed items the walk moves back by the number removed and skips items
// that still carry the handled id, so the handled item is not visited again. The result is never
// negative; a result >= countAfter ends the walk. `idAt` is only called for 0..countAfter-1.
int nextUpdatePosition(int position, int countBefore, int countAfter, int handledId,
                       const std::function<int(int)>& idAt);

} // namespace core
