#include "win/dpi.h"

#include "core/geometry.h"
#include "win/handles.h"
#include "win/system_library.h"

namespace win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
// shcore's GetDpiForMonitor with MDT_EFFECTIVE_DPI (0).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int EffectiveDpi = 0;

int systemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : core::BaseDpi;
}

int effectiveMonitorDpi(HMONITOR monitor) {
    // Looked up once: shcore exists from Windows 8.1 on and is kept for the rest of the run.
    static const GetDpiForMonitorFn getDpiForMonitor =
        systemFunction<GetDpiForMonitorFn>(loadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    if (!getDpiForMonitor)
        return 0;
    UINT x = 0, y = 0;
    return SUCCEEDED(getDpiForMonitor(monitor, EffectiveDpi, &x, &y)) ? static_cast<int>(x) : 0;
}

int monitorDpi(HWND window) {
    return effectiveMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

} // namespace

int monitorDpi(HMONITOR monitor) {
    const int dpi = effectiveMonitorDpi(monitor);
    return dpi > 0 ? dpi : systemDpi();
}

int windowDpi(HWND window) {
    static const GetDpiForWindowFn getDpiForWindow =
        systemFunction<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    if (const int dpi = monitorDpi(window))
        return dpi;
    return systemDpi();
}

int scaleForDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, core::BaseDpi);
}

} // namespace win
