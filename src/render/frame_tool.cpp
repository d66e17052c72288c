// veltrano-frame: renders one clock frame to a PNG file, for tests and for the README.
//   veltrano-frame <look 0-4> <HH:MM:SS> <zoom> <out.png> [--no-second-hand] [--dpi=N]
// At a DPI above 96 the frame is drawn as the clock draws it there, from the double-size art.
#include "core/skin_table.h"
#include "render/skin_resources.h"
#include "render/png_writer.h"
#include "win/gdiplus_session.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

int usage() {
    std::fwprintf(stderr, L"usage: veltrano-frame <look 0-4> <HH:MM:SS> <zoom> <out.png> "
                          L"[--no-second-hand] [--dpi=N]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5)
        return usage();
    const int look = std::wcstol(argv[1], nullptr, 10);
    core::LocalTime time;
    if (std::swscanf(argv[2], L"%d:%d:%d", &time.hour, &time.minute, &time.second) != 3)
        return usage();
    const float zoom = std::wcstof(argv[3], nullptr);
    bool secondHand = true;
    int dpi = core::BaseDpi;
    for (int i = 5; i < argc; ++i) {
        const std::wstring option = argv[i];
        const std::wstring dpiOption = L"--dpi=";
        if (option == L"--no-second-hand")
            secondHand = false;
        else if (option.compare(0, dpiOption.size(), dpiOption) == 0)
            dpi = std::wcstol(option.c_str() + dpiOption.size(), nullptr, 10);
        else
            return usage();
    }

    win::GdiplusSession gdiplus;
    const HMODULE module = GetModuleHandleW(nullptr);
    render::SkinImages skin;
    skin.applyStyle(module, look, core::ClockSettings());

    render::FrameRequest request;
    request.skin = &skin;
    request.time = time;
    request.zoom = zoom;
    request.showSecondHand = secondHand;
    request.dpi = dpi;
    const render::Frame frame = render::composeFrame(request);
    if (!render::saveFramePng(frame, argv[4])) {
        std::fwprintf(stderr, L"veltrano-frame: could not write %ls\n", argv[4]);
        return 1;
    }
    std::wprintf(L"%ls %dx%d\n", argv[4], frame.width(), frame.height());
    return 0;
}
