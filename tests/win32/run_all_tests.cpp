#include "run_all_tests.h"

#include "win/gdiplus_session.h"

#include <commctrl.h>
#include <cstdio>
#include <gtest/gtest.h>

int runAllTestsAndEnd() {
    InitCommonControls();
    // Left running: the process ends below without unloading anything.
    static win::GdiplusSession gdiplus;
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
