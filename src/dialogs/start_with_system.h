#pragma once
// Start with the system: the value "Veltrano" under the per-user Run key holds the program's full
// path in quotation marks, so a path with blanks cannot start another program.
#include <windows.h>

namespace dialogs {

// Writes (on) or removes (off) the Run value; a missing Run key is created, and a value that is
// not there counts as removed. A registry failure is shown over `owner`. Returns whether the
// value is there afterwards, so the stored setting never claims a registration that is missing.
bool registerStartWithSystem(HWND owner, bool on);

bool isRegisteredToStartWithSystem();

} // namespace dialogs
