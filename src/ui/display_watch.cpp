#include "ui/display_watch.h"

#include "win/system_library.h"

#include <cstring>

namespace ui {

namespace {

// GUID_CONSOLE_DISPLAY_STATE (Windows 8 and later): 0 off, 1 on, 2 dimmed (still seen).
const GUID ConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_MONITOR_POWER_ON (Vista and Windows 7): 0 off, 1 on.
const GUID MonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr DWORD DisplayStateOff = 0;

// POWERBROADCAST_SETTING, as the system hands it over.
struct PowerSetting {
    GUID setting;
    DWORD dataLength;
    UCHAR data[1];
};

constexpr DWORD NotifyForThisSession = 0;     // NOTIFY_FOR_THIS_SESSION
constexpr DWORD DeviceNotifyWindowHandle = 0; // DEVICE_NOTIFY_WINDOW_HANDLE

using RegisterPowerSetting = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterPowerSetting = BOOL(WINAPI*)(void*);
using RegisterSession = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSession = BOOL(WINAPI*)(HWND);

HMODULE user32() {
    return GetModuleHandleW(L"user32.dll");
}

// Windows 8 (6.2) and later report the console display state; Windows 7 accepts it but never
// reports it.
bool hasConsoleDisplayState() {
    const DWORD version = GetVersion();
    const int major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    return major > 6 || (major == 6 && minor >= 2);
}

} // namespace

void DisplayWatch::start(HWND window) {
    window_ = window;
    if (auto registerPower = win::systemFunction<RegisterPowerSetting>(
            user32(), "RegisterPowerSettingNotification")) {
        displayNotification_ = registerPower(
            window_, hasConsoleDisplayState() ? &ConsoleDisplayState : &MonitorPowerOn,
            DeviceNotifyWindowHandle);
    }
    sessionLibrary_ = win::loadSystemLibrary(L"wtsapi32.dll");
    if (auto registerSession =
            win::systemFunction<RegisterSession>(sessionLibrary_, "WTSRegisterSessionNotification"))
        sessionRegistered_ = registerSession(window_, NotifyForThisSession) != FALSE;
}

void DisplayWatch::stop() {
    if (displayNotification_) {
        if (auto unregisterPower = win::systemFunction<UnregisterPowerSetting>(
                user32(), "UnregisterPowerSettingNotification"))
            unregisterPower(displayNotification_);
        displayNotification_ = nullptr;
    }
    if (sessionRegistered_) {
        if (auto unregisterSession = win::systemFunction<UnregisterSession>(
                sessionLibrary_, "WTSUnRegisterSessionNotification"))
            unregisterSession(window_);
        sessionRegistered_ = false;
    }
    if (sessionLibrary_) {
        FreeLibrary(sessionLibrary_);
        sessionLibrary_ = nullptr;
    }
}

std::optional<bool> displayOnFromPowerSetting(const void* setting) {
    const auto* power = static_cast<const PowerSetting*>(setting);
    if (!power || power->dataLength < sizeof(DWORD) ||
        !(IsEqualGUID(power->setting, ConsoleDisplayState) ||
          IsEqualGUID(power->setting, MonitorPowerOn)))
        return std::nullopt;
    DWORD state = 0;
    std::memcpy(&state, power->data, sizeof(state));
    return state != DisplayStateOff;
}

} // namespace ui
