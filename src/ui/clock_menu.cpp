#include "ui/clock_menu.h"

#include "core/menu_rules.h"
#include "core/skin_table.h"
#include "win/handles.h"

#include "resource.h"

namespace ui {

namespace {

constexpr int KeyboardMenuOffset = 5;

constexpr core::MenuCommandIds ClockMenuIds = {
    {ID_STYLE1, ID_STYLE2, ID_STYLE3, ID_STYLE4, ID_STYLE5, ID_STYLE_CUSTOM},
    {ID_OPACITY_100, ID_OPACITY_80, ID_OPACITY_60, ID_OPACITY_40, ID_OPACITY_20},
    ID_ALWAYS_ON_TOP,
    ID_LOCK_POSITION};

// The commands without an argument, in menu order.
struct CommandRoute {
    int id;
    void (ClockMenuCommands::*handler)();
};
constexpr CommandRoute CommandRoutes[] = {
    {ID_STYLE_CUSTOM, &ClockMenuCommands::chooseCustomLook},
    {ID_ALWAYS_ON_TOP, &ClockMenuCommands::toggleAlwaysOnTop},
    {ID_LOCK_POSITION, &ClockMenuCommands::toggleLockPosition},
    {ID_CLICK_THROUGH, &ClockMenuCommands::toggleClickThrough},
    {ID_ALARM_SHUTDOWN, &ClockMenuCommands::editAlarms},
    {ID_OPTIONS, &ClockMenuCommands::editOptions},
    {ID_ABOUT, &ClockMenuCommands::showAbout},
    {ID_EXIT, &ClockMenuCommands::exitClock},
};

} // namespace

void ClockMenu::showForContextMenu(HWND window, POINT at) {
    if (at.x == -1 && at.y == -1) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        at = {origin.x + KeyboardMenuOffset, origin.y + KeyboardMenuOffset};
    }
    showAt(window, at);
}

void ClockMenu::showAt(HWND window, POINT at) {
    win::UniqueMenu menu(LoadMenuW(module_, MAKEINTRESOURCEW(IDR_CLOCK_MENU)));
    if (!menu)
        return;
    HWND owner = window;
    while (GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)
        owner = GetParent(owner);
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void ClockMenu::updatePopup(HMENU popup, const core::ClockSettings& settings) {
    int count = GetMenuItemCount(popup);
    int position = 0;
    while (position < count) {
        const UINT id = GetMenuItemID(popup, position);
        // Separators (0) and sub-popups (-1) are left alone; a sub-popup is marked when it opens.
        if (id == 0 || id == static_cast<UINT>(-1)) {
            ++position;
            continue;
        }
        updateItem(popup, position, static_cast<int>(id), settings);
        const int countAfter = GetMenuItemCount(popup);
        position = core::nextUpdatePosition(
            position, count, countAfter, static_cast<int>(id),
            [popup](int at) { return static_cast<int>(GetMenuItemID(popup, at)); });
        count = countAfter;
    }
}

void ClockMenu::updateItem(HMENU popup, int position, int commandId,
                           const core::ClockSettings& settings) {
    if (commandId == ID_CLICK_THROUGH) {
        const UINT kept =
            GetMenuState(popup, position, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
        ModifyMenuW(popup, position, MF_BYPOSITION | MF_STRING | kept, commandId,
                    core::clickThroughMenuText(settings.clickThrough));
        return;
    }
    const core::MenuCheck check = core::menuCheckFor(ClockMenuIds, commandId, settings);
    if (check == core::MenuCheck::NoHandler)
        return;
    CheckMenuItem(popup, position,
                  MF_BYPOSITION | (check == core::MenuCheck::Checked ? MF_CHECKED : MF_UNCHECKED));
}

bool ClockMenu::dispatch(int commandId) {
    const int style = core::styleIndexForCommand(ClockMenuIds, commandId);
    if (style >= 0 && style < core::CustomStyleIndex) {
        commands_.chooseStyle(style);
        return true;
    }
    const int opacity = core::opacityIndexForCommand(ClockMenuIds, commandId);
    if (opacity >= 0) {
        commands_.chooseOpacity(opacity);
        return true;
    }
    for (const CommandRoute& route : CommandRoutes) {
        if (route.id == commandId) {
            (commands_.*route.handler)();
            return true;
        }
    }
    return false;
}

} // namespace ui
