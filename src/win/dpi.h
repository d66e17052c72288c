#pragma once
// The DPI a window is drawn for. The program declares itself per-monitor aware, so Windows no
// longer stretches its windows: everything measured in pixels is scaled by the program itself.
#include <windows.h>

namespace win {

// WM_DPICHANGED (Windows 8.1), named here since the headers for XP do not have it. Its wParam
// holds the new DPI in both words.
constexpr UINT DpiChangedMessage = 0x02E0;
// WM_DPICHANGED_AFTERPARENT (Windows 10 1703): sent to each child once its parent has taken the
// new DPI and scaled it, so a control can measure itself again.
constexpr UINT DpiChangedAfterParentMessage = 0x02E3;

// The DPI of the monitor `window` is on (Windows 8.1 and later), otherwise the system's.
int windowDpi(HWND window);
// The DPI of a monitor (Windows 8.1 and later), otherwise the system's.
int monitorDpi(HMONITOR monitor);

// `pixels` at 96 DPI, at `dpi` (rounded as Windows rounds, halves away from zero).
int scaleForDpi(int pixels, int dpi);

} // namespace win
