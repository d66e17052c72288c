#pragma once
// Asks the system to tell the clock when the display goes off or on and when the session is
// locked or unlocked; the clock draws no frames while nobody can see it. On Windows 7 the
// monitor's power setting stands in for the console display state it lacks; on Windows XP,
// which tells neither, the clock is always taken to be seen.
#include <windows.h>

#include <optional>

namespace ui {

class DisplayWatch {
public:
    DisplayWatch() = default;
    ~DisplayWatch() { stop(); }
    DisplayWatch(const DisplayWatch&) = delete;
    DisplayWatch& operator=(const DisplayWatch&) = delete;

    void start(HWND window);
    // While the window still exists: the registrations name it.
    void stop();

private:
    HWND window_ = nullptr;
    HMODULE sessionLibrary_ = nullptr;
    void* displayNotification_ = nullptr;
    bool sessionRegistered_ = false;
};

// PBT_POWERSETTINGCHANGE's data: whether the display is on, for the settings asked for above;
// nothing for any other setting.
std::optional<bool> displayOnFromPowerSetting(const void* setting);

// Messages and values of Windows Vista and later, which the XP-level headers leave out.
constexpr WPARAM PowerSettingChange = 0x8013;            // PBT_POWERSETTINGCHANGE
constexpr UINT SessionChangeMessage = 0x02B1;            // WM_WTSSESSION_CHANGE
constexpr WPARAM SessionLock = 0x7, SessionUnlock = 0x8; // WTS_SESSION_LOCK, WTS_SESSION_UNLOCK

} // namespace ui
