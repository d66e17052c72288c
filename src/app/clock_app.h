#pragma once
// Turns a process start into one running clock and the clock's end into the process's end.
#include <windows.h>

namespace app {

class ClockApp {
public:
    explicit ClockApp(HINSTANCE module) : module_(module) {}
    // Runs the clock window modally: its loop is the program's only message loop.
    int run();

private:
    HINSTANCE module_;
};

} // namespace app
