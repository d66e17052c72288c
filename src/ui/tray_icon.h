#pragma once
// The clock's icon in the notification area, with the tip and the balloons the clock gives it.
#include <windows.h>

#include "clock/ports.h"
#include "win/handles.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "resource.h"

namespace ui {

constexpr UINT TrayIconId = IDN_TRAY_ICON;
constexpr UINT TrayCallbackMessage = WM_USER + 1;

class TrayIcon : public clockwork::Tray {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void attach(HWND owner, HINSTANCE module);
    // Also after the taskbar was re-created; a balloon asked for before the icon was there
    // is shown now.
    bool add(const std::wstring& tip);
    void setTip(const std::wstring& tip) override;
    // The tip stays as it is; only the balloon fields change.
    void showBalloon(const std::wstring& text, const std::wstring& title) override;
    // Whatever ends the clock, no dead icon is left behind.
    bool remove();

    bool isAdded() const { return added_; }
    const NOTIFYICONDATAW& record() const { return record_; }

private:
    void fillForTip(const std::wstring& tip);
    // The clock icon at the small-icon size of the monitor's DPI, made again when that changes.
    HICON iconForDpi();

    HWND owner_ = nullptr;
    HINSTANCE module_ = nullptr;
    NOTIFYICONDATAW record_{};
    win::UniqueIcon icon_;
    int iconSide_ = 0;
    bool added_ = false;
    std::wstring pendingText_, pendingTitle_;
};

} // namespace ui
