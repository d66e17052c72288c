#include "win/gdiplus_session.h"

#include <commctrl.h>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InitCommonControls();
    // Left running: the process ends below without unloading anything.
    static win::GdiplusSession gdiplus;
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    // Under Wine, unloading the sound driver at process exit after a test played a sound now
    // and then crashes in the driver's own thread, long after every test has reported. The
    // results are out; end the process without that teardown.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
