#include "win/gdiplus_session.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InitCommonControls();
    win::GdiplusSession gdiplus;
    return RUN_ALL_TESTS();
}
