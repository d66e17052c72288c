#pragma once
// The clock's icon in the notification area: a tip with today's date and the alarm balloons.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace ui {

constexpr UINT TrayIconId = 128;
constexpr UINT TrayCallbackMessage = WM_USER + 1;

class TrayIcon {
public:
    TrayIcon(HWND owner, HINSTANCE module);

    bool add();
    // Brings the date in the tip up to date.
    bool refreshTip();
    // The tip stays as it is; only the balloon fields change.
    bool showBalloon(const std::wstring& text, const std::wstring& title);
    bool remove();

    const NOTIFYICONDATAW& record() const { return record_; }

private:
    void fillForTip();

    HWND owner_;
    HINSTANCE module_;
    NOTIFYICONDATAW record_{};
};

// Opens the system's date and time settings.
void openDateTimeSettings();

} // namespace ui
