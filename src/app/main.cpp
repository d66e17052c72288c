#include "app/clock_app.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    app::ClockApp clockApp(instance);
    return clockApp.run();
}
