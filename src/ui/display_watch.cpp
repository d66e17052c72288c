#include "ui/display_watch.h"

#include "win/system_library.h"

namespace ui {

namespace {

// GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed (still seen).
const GUID ConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr DWORD DisplayStateOff = 0;

// POWERBROADCAST_SETTING, as the system hands it over.
struct PowerSetting {
    GUID setting;
    DWORD dataLength;
    UCHAR data[1];
};

constexpr WPARAM SessionLock = 0x7, SessionUnlock = 0x8; // WTS_SESSION_LOCK, WTS_SESSION_UNLOCK
constexpr DWORD NotifyForThisSession = 0;                // NOTIFY_FOR_THIS_SESSION
constexpr DWORD DeviceNotifyWindowHandle = 0;            // DEVICE_NOTIFY_WINDOW_HANDLE

using RegisterPowerSetting = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterPowerSetting = BOOL(WINAPI*)(void*);
using RegisterSession = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSession = BOOL(WINAPI*)(HWND);

template <typename Function> Function lookUp(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(GetProcAddress(library, name)) : nullptr;
}

} // namespace

DisplayWatch::DisplayWatch(HWND window) : window_(window) {
    if (auto registerPower = lookUp<RegisterPowerSetting>(GetModuleHandleW(L"user32.dll"),
                                                          "RegisterPowerSettingNotification"))
        displayNotification_ =
            registerPower(window_, &ConsoleDisplayState, DeviceNotifyWindowHandle);
    sessionLibrary_ = win::loadSystemLibrary(L"wtsapi32.dll");
    if (auto registerSession =
            lookUp<RegisterSession>(sessionLibrary_, "WTSRegisterSessionNotification"))
        sessionRegistered_ = registerSession(window_, NotifyForThisSession) != FALSE;
}

DisplayWatch::~DisplayWatch() {
    if (displayNotification_) {
        if (auto unregisterPower = lookUp<UnregisterPowerSetting>(
                GetModuleHandleW(L"user32.dll"), "UnregisterPowerSettingNotification"))
            unregisterPower(displayNotification_);
    }
    if (sessionRegistered_) {
        if (auto unregisterSession =
                lookUp<UnregisterSession>(sessionLibrary_, "WTSUnRegisterSessionNotification"))
            unregisterSession(window_);
    }
    if (sessionLibrary_)
        FreeLibrary(sessionLibrary_);
}

bool DisplayWatch::onPowerSetting(LPARAM setting) {
    const auto* power = reinterpret_cast<const PowerSetting*>(setting);
    if (!power || !IsEqualGUID(power->setting, ConsoleDisplayState) ||
        power->dataLength < sizeof(DWORD))
        return false;
    DWORD state = 0;
    memcpy(&state, power->data, sizeof(state));
    const bool wasSeen = canBeSeen();
    displayOff_ = state == DisplayStateOff;
    return canBeSeen() != wasSeen;
}

bool DisplayWatch::onSessionChange(WPARAM event) {
    if (event != SessionLock && event != SessionUnlock)
        return false;
    const bool wasSeen = canBeSeen();
    locked_ = event == SessionLock;
    return canBeSeen() != wasSeen;
}

} // namespace ui
