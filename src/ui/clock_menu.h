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
    explicit ClockMenu(ClockMenuCommands& commands) : commands_(commands) {}
    void attach(HINSTANCE module) { module_ = module; }

    // WM_CONTEXTMENU: at the pointer, or just inside the window's corner from the keyboard,
    // which gives the point (-1, -1).
    void showForContextMenu(HWND window, POINT screenPoint);
    // Loaded afresh and destroyed after each showing; the command arrives as WM_COMMAND.
    void showAt(HWND window, POINT at);
    // WM_INITMENUPOPUP: check marks and the click-through text from the current settings.
    void updatePopup(HMENU popup, const core::ClockSettings& settings);
    // WM_COMMAND; false for an id that is not a menu command.
    bool dispatch(int commandId);

private:
    void updateItem(HMENU popup, int position, int commandId, const core::ClockSettings& settings);

    HINSTANCE module_ = nullptr;
    ClockMenuCommands& commands_;
};

} // namespace ui
