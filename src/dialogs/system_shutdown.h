#pragma once
// Asks the operating system to switch the computer off.
#include <windows.h>

#include <functional>

namespace dialogs {

// Nonzero when the system accepted the request. Windows 95/98/ME and every NT system from
// Windows 2000 on are asked; the NT family gets the shutdown privilege first.
BOOL shutDownSystem();

// Tests put a recorder in place of the final request: a test must never shut a machine down.
using ShutdownRequest = std::function<BOOL(UINT flags, DWORD reason)>;
void setShutdownRequest(ShutdownRequest request);

} // namespace dialogs
