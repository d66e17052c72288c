#pragma once
// Whether anyone can see the clock: not while the display is off or the session is locked. The
// clock draws no frames then; alarms, chime and shutdown go on. On Windows XP, which tells
// neither, the clock is always taken to be seen.
#include <windows.h>

namespace ui {

class DisplayWatch {
public:
    explicit DisplayWatch(HWND window);
    ~DisplayWatch();
    DisplayWatch(const DisplayWatch&) = delete;
    DisplayWatch& operator=(const DisplayWatch&) = delete;

    // WM_POWERBROADCAST's PBT_POWERSETTINGCHANGE and WM_WTSSESSION_CHANGE: true when whether
    // the clock can be seen changed.
    bool onPowerSetting(LPARAM setting);
    bool onSessionChange(WPARAM event);

    bool canBeSeen() const { return !displayOff_ && !locked_; }

private:
    HWND window_;
    HMODULE sessionLibrary_ = nullptr;
    void* displayNotification_ = nullptr;
    bool sessionRegistered_ = false;
    bool displayOff_ = false;
    bool locked_ = false;
};

// Messages and values of Windows Vista and later, which the XP-level headers leave out.
constexpr WPARAM PowerSettingChange = 0x8013; // PBT_POWERSETTINGCHANGE
constexpr UINT SessionChangeMessage = 0x02B1; // WM_WTSSESSION_CHANGE

} // namespace ui
