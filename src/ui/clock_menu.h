#pragma once
// The clock menu (menu resource 138): shown from the clock and from its tray icon, marked
// afresh each time a popup opens, and the one place that knows which command does what.
#include <windows.h>

#include "core/settings.h"

namespace ui {

// What the menu's commands ask of the clock.
class ClockMenuCommands {
public:
    virtual void chooseStyle(int styleIndex) = 0;
    virtual void chooseCustomLook() = 0;
    virtual void chooseOpacity(int opacityIndex) = 0;
    virtual void toggleAlwaysOnTop() = 0;
    virtual void toggleLockPosition() = 0;
    virtual void toggleClickThrough() = 0;
    virtual void editAlarms() = 0;
    virtual void editOptions() = 0;
    virtual void showAbout() = 0;
    virtual void exitClock() = 0;

protected:
    ~ClockMenuCommands() = default;
};

class ClockMenu {
public:
    ClockMenu(HINSTANCE module, const core::ClockSettings& settings, ClockMenuCommands& commands)
        : module_(module), settings_(settings), commands_(commands) {}

    // WM_CONTEXTMENU: at the pointer, or just inside the window's corner from the keyboard.
    void showForContextMenu(HWND window, LPARAM screenPoint);
    // Loaded afresh and destroyed after each showing; the command arrives as WM_COMMAND.
    void showAt(HWND window, POINT at);
    // WM_INITMENUPOPUP: check marks and the click-through text from the current settings.
    void updatePopup(HMENU popup);
    // WM_COMMAND; false for an id that is not a menu command.
    bool dispatch(int commandId);

private:
    void updateItem(HMENU popup, int position, int commandId);

    HINSTANCE module_;
    const core::ClockSettings& settings_;
    ClockMenuCommands& commands_;
};

} // namespace ui
