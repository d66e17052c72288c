#include "ui/user_busy.h"

#include "win/system_library.h"

#include <windows.h>

namespace ui {

namespace {

// QUERY_USER_NOTIFICATION_STATE, which the headers declare only for Windows Vista and later.
enum NotificationState : int {
    StateBusy = 2,               // QUNS_BUSY: a full-screen program that is not Direct3D
    StateDirect3dFullScreen = 3, // QUNS_RUNNING_D3D_FULL_SCREEN
    StatePresentation = 4,       // QUNS_PRESENTATION_MODE
    StateQuietTime = 6,          // QUNS_QUIET_TIME (Windows 7 on)
};
using QueryNotificationStateFunction = HRESULT(WINAPI*)(int*);

} // namespace

bool userBusy() {
    // shell32 is one of the program's own imports, so it is loaded already.
    static const auto query = win::systemFunction<QueryNotificationStateFunction>(
        GetModuleHandleW(L"shell32.dll"), "SHQueryUserNotificationState");
    int state = 0;
    if (!query || FAILED(query(&state)))
        return false;
    switch (state) {
    case StateBusy:
    case StateDirect3dFullScreen:
    case StatePresentation:
    case StateQuietTime: return true;
    default: return false;
    }
}

} // namespace ui
