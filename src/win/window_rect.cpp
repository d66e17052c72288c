#include "win/window_rect.h"

namespace win {

RECT rectInParent(HWND child) {
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

} // namespace win
