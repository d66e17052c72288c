#pragma once
// The clock's icon in the notification area: a tip with today's date, the alarm balloons, and
// what the pointer does on it.
#include <windows.h>

#include "win/handles.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "resource.h"

namespace ui {

constexpr UINT TrayIconId = IDN_TRAY_ICON;
constexpr UINT TrayCallbackMessage = WM_USER + 1;

// What the clock is asked to do about a notification from the icon.
enum class TrayRequest { None, ShowMenu, NotOurIcon };

class TrayIcon {
public:
    TrayIcon(HWND owner, HINSTANCE module);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Also after the taskbar was re-created; a balloon asked for before the icon was there
    // is shown now.
    bool add();
    // Brings the date in the tip up to date.
    bool refreshTip();
    // What a jump left undone stays in the tip until the user has looked at the clock's menu
    // or its alarms.
    void setMissedLines(const std::vector<std::wstring>& lines);
    void clearMissedLines();
    // The tip stays as it is; only the balloon fields change.
    bool showBalloon(const std::wstring& text, const std::wstring& title);
    // Whatever ends the clock, no dead icon is left behind.
    bool remove();
    // The callback message: refreshes the tip, opens the date and time settings, or asks for
    // the menu.
    TrayRequest onNotify(WPARAM iconId, LPARAM mouseMessage);

    bool isAdded() const { return added_; }
    const NOTIFYICONDATAW& record() const { return record_; }

private:
    void fillForTip();
    // The clock icon at the small-icon size of the monitor's DPI, made again when that changes.
    HICON iconForDpi();

    HWND owner_;
    HINSTANCE module_;
    NOTIFYICONDATAW record_{};
    win::UniqueIcon icon_;
    int iconSide_ = 0;
    bool added_ = false;
    std::wstring pendingText_, pendingTitle_;
    std::vector<std::wstring> missedLines_;
};

} // namespace ui
