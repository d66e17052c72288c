#pragma once
// Asks the operating system to switch the computer off.
#include <windows.h>

#include <functional>

namespace dialogs {

// Nonzero when the system accepted the request. Only Windows 95/98/ME and Windows 2000/XP/2003
// are asked; the NT family gets the shutdown privilege first.
BOOL shutDownSystem();

// Tests put a recorder in place of the final request: a test must never shut a machine down.
using ShutdownRequest = std::function<BOOL(UINT flags, DWORD reason)>;
void setShutdownRequest(ShutdownRequest request);

} // namespace dialogs
