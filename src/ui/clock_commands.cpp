// The clock menu: opening it, marking its items, and what each command does.
#include "app/clock_window.h"

#include "core/fade.h"
#include "core/menu_rules.h"
#include "render/skin_images.h"

#include "resource.h"

#include <windowsx.h>

namespace app {

namespace {
constexpr int keyboardMenuOffset = 5;
constexpr DWORD clickThroughStyles = WS_EX_LAYERED | WS_EX_TRANSPARENT;
} // namespace

void ClockWindow::onContextMenu(LPARAM screenPoint) {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: just inside the clock's top-left corner.
        POINT origin{0, 0};
        ClientToScreen(hwnd(), &origin);
        at = {origin.x + keyboardMenuOffset, origin.y + keyboardMenuOffset};
    }
    trackClockMenu(at);
}

void ClockWindow::trackClockMenu(POINT at) {
    // Loaded afresh each time, so the marks always come from the current state.
    win::UniqueMenu menu(LoadMenuW(module(), MAKEINTRESOURCEW(IDR_CLOCK_MENU)));
    if (!menu)
        return;
    HWND owner = hwnd();
    while (GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)
        owner = GetParent(owner);
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void ClockWindow::onInitMenuPopup(HMENU popup) {
    int count = GetMenuItemCount(popup);
    int position = 0;
    while (position < count) {
        const UINT id = GetMenuItemID(popup, position);
        // Separators (0) and sub-popups (-1) are left alone; a sub-popup is marked when it opens.
        if (id == 0 || id == static_cast<UINT>(-1)) {
            ++position;
            continue;
        }
        updateMenuItem(popup, position, static_cast<int>(id));
        const int countAfter = GetMenuItemCount(popup);
        position = core::nextUpdatePosition(
            position, count, countAfter, static_cast<int>(id),
            [popup](int at) { return static_cast<int>(GetMenuItemID(popup, at)); });
        count = countAfter;
    }
}

void ClockWindow::updateMenuItem(HMENU popup, int position, int id) {
    if (id == core::ID_CLICK_THROUGH) {
        const UINT state = GetMenuState(popup, position, MF_BYPOSITION);
        const UINT kept = state & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
        ModifyMenuW(popup, position, MF_BYPOSITION | MF_STRING | kept, id,
                    core::clickThroughMenuText(settings_.clickThrough));
        return;
    }
    const core::MenuCheck check = core::menuCheckFor(id, settings_);
    if (check == core::MenuCheck::NoHandler)
        return;
    CheckMenuItem(popup, position,
                  MF_BYPOSITION | (check == core::MenuCheck::Checked ? MF_CHECKED : MF_UNCHECKED));
}

void ClockWindow::chooseStyle(int styleIndex) {
    settings_.styleIndex = styleIndex;
    applySkinStyle(styleIndex);
    renderClock(displayedOpacity_);
}

void ClockWindow::chooseOpacity(int opacityIndex) {
    settings_.opacityIndex = opacityIndex;
    setOpacityIndex(opacityIndex);
    renderClock(displayedOpacity_);
}

void ClockWindow::chooseCustomLook() {
    // The custom dial dialog arrives with its own work; until then the look stays as it is.
}

void ClockWindow::toggleAlwaysOnTop() {
    settings_.alwaysOnTop = !settings_.alwaysOnTop;
    restack();
    saveSettings();
}

void ClockWindow::toggleLockPosition() {
    settings_.lockPosition = !settings_.lockPosition;
    // Locking and unlocking both record where the clock stands; dragging never does.
    RECT place{};
    GetWindowRect(hwnd(), &place);
    settings_.windowLeft = place.left;
    settings_.windowTop = place.top;
    saveSettings();
}

void ClockWindow::toggleClickThrough() {
    settings_.clickThrough = !settings_.clickThrough;
    if (settings_.clickThrough) {
        const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle | clickThroughStyles);
    } else {
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, savedExStyle_);
    }
    saveSettings();
}

void ClockWindow::exitClock() {
    skin_.release(render::FaceSlot);
    skin_.release(render::HourSlot);
    skin_.release(render::MinuteSlot);
    skin_.release(render::SecondSlot);
    // Nothing may draw through the library once it is let go.
    updateLayeredWindowEntry_ = nullptr;
    user32_.reset();
    removeTrayIcon();
    saveSettings();
    endDialog(IDCANCEL);
}

} // namespace app
