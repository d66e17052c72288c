// veltrano-frame: renders one clock frame to a PNG file, for tests and for the README.
//   veltrano-frame <look 0-4> <HH:MM:SS> <zoom> <out.png> [--no-second-hand]
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
                          L"[--no-second-hand]\n");
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
    const bool secondHand = !(argc > 5 && std::wstring(argv[5]) == L"--no-second-hand");

    win::GdiplusSession gdiplus;
    const HMODULE module = GetModuleHandleW(nullptr);
    render::SkinImages skin;
    skin.loadBuiltInLook(module, render::builtInSkin(look));
    skin.recordSizes();

    render::FrameRequest request;
    request.skin = &skin;
    request.time = time;
    request.zoom = zoom;
    request.showSecondHand = secondHand;
    const render::Frame frame = render::composeFrame(request);
    if (!render::saveFramePng(frame, argv[4])) {
        std::fwprintf(stderr, L"veltrano-frame: could not write %ls\n", argv[4]);
        return 1;
    }
    std::wprintf(L"%ls %dx%d\n", argv[4], frame.width(), frame.height());
    return 0;
}
