#include "app/clock_app.h"
#include "win/dll_search.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Before anything could load a DLL by name.
    win::restrictDllSearchToSystem();
    app::ClockApp clockApp(instance);
    return clockApp.run();
}
