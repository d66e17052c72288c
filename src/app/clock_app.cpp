#include "app/clock_app.h"

#include "app/clock_window.h"
#include "win/gdiplus_session.h"

#include <commctrl.h>

namespace app {

int ClockApp::run() {
    InitCommonControls();
    win::GdiplusSession gdiplus;
    taskbarCreatedMessage();
    {
        ClockWindow clock(module_);
        mainWindow_ = &clock;
        clock.doModal(nullptr);
        mainWindow_ = nullptr;
    }
    return 0;
}

} // namespace app
