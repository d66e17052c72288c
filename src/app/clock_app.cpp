#include "app/clock_app.h"

#include "app/clock_window.h"
#include "win/gdiplus_session.h"

#include <commctrl.h>

namespace app {

int ClockApp::run() {
    // Registered before anything can broadcast it, so a shell restart is never missed.
    taskbarCreatedMessage();
    InitCommonControls();
    win::GdiplusSession gdiplus;
    {
        ClockWindow clock(module_);
        mainWindow_ = &clock;
        clock.doModal(nullptr);
        mainWindow_ = nullptr;
    }
    return 0;
}

} // namespace app
