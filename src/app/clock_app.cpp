#include "app/clock_app.h"

#include "app/app_identity.h"
#include "app/clock_window.h"
#include "app/settings_file_lock.h"
#include "win/gdiplus_session.h"
#include "win/message_box.h"

#include <commctrl.h>

namespace app {

int ClockApp::run() {
    claimAppUserModelId();
    // Registered before anything can broadcast it, so a shell restart is never missed.
    taskbarCreatedMessage();
    // A second clock on the same file would overwrite the first's changes: it only points the
    // user to the clock already running.
    const SettingsFileLock lock(SettingsFile(currentDirectory()).locate());
    if (!lock.acquired()) {
        lock.alertHolder();
        return 0;
    }
    InitCommonControls();
    win::GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        // Without GDI+ there is no clock to draw: say so rather than show an empty window.
        win::showMessage(nullptr, L"无法启动 GDI+，时钟无法显示。");
        return 0;
    }
    ClockWindow clock(module_);
    if (!clock.canShow()) {
        win::showMessage(nullptr, L"User32.dll ERROR!");
        return 0;
    }
    clock.doModal(nullptr);
    return 0;
}

} // namespace app
