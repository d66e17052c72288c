#pragma once
// Where a child window lies in its parent's client area.
#include <windows.h>

namespace win {

RECT rectInParent(HWND child);

} // namespace win
