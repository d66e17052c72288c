// Speed and memory of the work the clock repeats forever: composing and showing a frame (once a
// second while it runs, 33 times a second during a fade) and the wake of each second, which also
// checks the alarms.
//   veltrano_bench.exe [frames-per-case] [growth-rounds]
// prints one JSON object with its figures; scripts/bench.sh turns them into the table.
//   veltrano_bench.exe --reference [opacity-index]
// runs the least a layered clock can do until it is ended: the CPU it takes left alone is the
// floor the real clock is measured against.
#include "app/clock_view.h"
#include "clock/clock.h"
#include "clock_fakes.h"
#include "core/alarm_table.h"
#include "core/clock_time.h"
#include "core/clock_timers.h"
#include "core/fade.h"
#include "core/frame_key.h"
#include "core/geometry.h"
#include "core/skin_table.h"
#include "render/frame.h"
#include "render/layered_presentation.h"
#include "render/skin_images.h"
#include "win/dpi.h"
#include "win/gdiplus_session.h"
#include "win/local_time.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int defaultFramesPerCase = 2000;
constexpr int defaultGrowthRounds = 100000;
constexpr int settleRounds = 5000;
constexpr float zooms[] = {1.0f, 1.5f, 2.0f};
// Monitors at 100 %, 150 % and 200 %: with the zooms, scales up to 4 from the double-size art.
constexpr int dpis[] = {core::BaseDpi, core::BaseDpi * 3 / 2, core::BaseDpi * 2};
constexpr double secondsPerDay = 86400.0;

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * values.size()));
    return values[at];
}

struct Memory {
    double workingSetKb, privateKb, heapKb;
    DWORD gdiObjects, userObjects, handles;
};

// Bytes in busy blocks of all Windows heaps of the process: what the clock itself allocates.
double heapInUseKb() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    double bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes / 1024.0;
}

Memory memory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return {counters.WorkingSetSize / 1024.0, counters.PrivateUsage / 1024.0, heapInUseKb(),
            testing_support::gdiObjects(),    testing_support::userObjects(), handles};
}

// A full table of alarms, none of them due, is the most a wake ever compares.
core::ClockSettings fiftyAlarms() {
    core::ClockSettings settings;
    std::vector<core::AlarmEntry> alarms;
    for (int i = 0; i < core::AlarmMaxCount; ++i)
        alarms.push_back({1, core::timeOfDayText(3600 + i * 60), "reminder"});
    settings.alarms.assign(alarms, win::isAnsiLeadByte);
    return settings;
}

// A layered tool window of the bench's own, which the frames are shown on.
HWND benchWindow(HINSTANCE module) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = module;
    windowClass.lpszClassName = L"VeltranoBenchWindow";
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP,
                        0, 0, 1, 1, nullptr, nullptr, module, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// Compose and compose+show times of one look at one zoom and DPI, over frames of changing seconds.
void measureFrames(HWND window, int look, float zoom, int dpi, int frames, bool first) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    render::SkinImages skin;
    skin.applyStyle(module, look, core::ClockSettings{});
    render::FrameComposer composer;
    render::Frame frame;
    render::LayeredPresentation presentation;
    presentation.load();
    render::FrameRequest request{&skin, {}, zoom, true, dpi};
    request.time.hour = 10;
    std::vector<double> compose, composeAndShow;
    for (int i = 0; i < frames; ++i) {
        request.time.minute = (i / 60) % 60;
        request.time.second = i % 60;
        const double start = nowMs();
        composer.compose(request, frame);
        const double composed = nowMs();
        presentation.present(window, frame, 100, &composer.changed());
        const double shown = nowMs();
        compose.push_back(composed - start);
        composeAndShow.push_back(shown - start);
    }
    std::printf("%s{\"look\": %d, \"zoom\": %.1f, \"dpi\": %d, \"width\": %d, "
                "\"compose_median_ms\": %.3f, \"compose_p99_ms\": %.3f, \"show_median_ms\": %.3f, "
                "\"show_p99_ms\": %.3f}",
                first ? "" : ",\n    ", look, zoom, dpi, frame.width(), percentile(compose, 0.5),
                percentile(compose, 0.99), percentile(composeAndShow, 0.5),
                percentile(composeAndShow, 0.99));
}

// Two frames of the first look composed once; a window of their size that shows them in turn
// once a second, from one timer aimed just after each true second as the clock's wake is.
struct Reference {
    render::Frame frames[2];
    render::LayeredPresentation presentation;
    int opacityPercent = 100;
    UINT shown = 0;
};

void wakeAfterNextSecond(HWND window) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SetTimer(window, core::WakeTimer, core::millisecondsToNextSecond(now.wMilliseconds), nullptr);
}

LRESULT CALLBACK referenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* reference = reinterpret_cast<Reference*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_TIMER || wParam != core::WakeTimer || !reference)
        return DefWindowProcW(window, message, wParam, lParam);
    reference->presentation.present(window, reference->frames[++reference->shown % 2],
                                    reference->opacityPercent);
    wakeAfterNextSecond(window);
    return 0;
}

int runReference(int opacityIndex) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    core::ClockSettings settings;
    render::SkinImages skin;
    skin.applyStyle(module, 0, settings);
    static Reference reference;
    reference.opacityPercent = core::opacityLevel(opacityIndex);
    render::FrameComposer composer;
    // At the screen's DPI, as the clock would be.
    render::FrameRequest request{&skin, {}, 1.0f, true, win::windowDpi(nullptr)};
    for (int i = 0; i < 2; ++i) {
        request.time.second = i;
        composer.compose(request, reference.frames[i]);
    }
    reference.presentation.load();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = referenceProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = L"VeltranoBenchReference";
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP,
                        0, 0, reference.frames[0].width(), reference.frames[0].height(), nullptr,
                        nullptr, module, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reference));
    reference.presentation.present(window, reference.frames[0], reference.opacityPercent);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    wakeAfterNextSecond(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

// A clock of the bench's own, on an app::ClockView on the bench's window: it composes and shows
// frames as the clock window does, while the view says what it handed to the window manager.
struct LocalTimeSeam : clockwork::TimeSource {
    core::LocalTime now() override { return win::currentLocalTime(); }
};

// Counts the frames that reach the window manager: the view shows a frame only when it would
// look different from the one shown before (core::frameKey, the test its canvas makes). The
// wakes the clock asks for are the bench's to give.
class CountingView : public clockwork::View {
public:
    CountingView(app::ClockView& view, int dpi) : view_(view), dpi_(dpi) {}
    int presents = 0;

    bool showFrame(const clockwork::Frame& frame) override {
        const render::ImageSize face = view_.skin().size(render::FaceSlot);
        const core::FrameKey key =
            core::frameKey(frame.time, frame.showSecondHand,
                           core::effectiveZoom(frame.zoom, face.width, face.height, dpi_),
                           frame.opacityPercent, view_.skin().generation());
        presents += key == shown_ ? 0 : 1;
        shown_ = key;
        return view_.showFrame(frame);
    }
    int applyLook(const core::ClockSettings& settings) override {
        return view_.applyLook(settings);
    }
    void setTopmost(bool topmost) override { view_.setTopmost(topmost); }
    void setClickThrough(bool clickThrough) override { view_.setClickThrough(clickThrough); }
    core::WindowPosition place() const override { return view_.place(); }
    void wakeAfter(unsigned) override {}
    void tell(const std::wstring&) override {}

private:
    app::ClockView& view_;
    int dpi_;
    core::FrameKey shown_;
};

// Frames handed to the window manager in the next simulated minute of wakes, one a second.
int presentsInAMinute(clockwork::Clock& clock, CountingView& view, core::LocalTime& now) {
    const int before = view.presents;
    ++now.minute;
    for (int second = 0; second < 60; ++second) {
        now.second = second;
        now.milliseconds = static_cast<int>(core::TickOffsetMs);
        clock.onWake();
    }
    return view.presents - before;
}

// The clock left alone, the same with the session locked, and with the second hand hidden.
void printPresentsPerMinute(HWND window, core::LocalTime& now) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    app::ClockView shown;
    CountingView view(shown, win::windowDpi(window));
    LocalTimeSeam time;
    fakes::Store store;
    fakes::Tray tray;
    fakes::Sound sound;
    fakes::Countdown countdown;
    fakes::Ringing ringing;
    fakes::Machine machine;
    clockwork::Clock clock({time,
                            store,
                            view,
                            tray,
                            sound,
                            countdown,
                            ringing,
                            machine,
                            {win::isAnsiLeadByte, &win::ansiToWide}});
    clock.load();
    shown.attach(window, module, clock.settings());
    // In the last second before the first minute counted, so that each of its seconds is new.
    --now.minute;
    now.second = 59;
    clock.start();
    const int leftAlone = presentsInAMinute(clock, view, now);
    clock.setSessionLocked(true);
    const int locked = presentsInAMinute(clock, view, now);
    clock.setSessionLocked(false);
    clock.settings().showSecondHand = 0;
    const int hiddenHand = presentsInAMinute(clock, view, now);
    shown.release();
    std::printf("  \"presents_per_minute\": {\"left_alone\": %d, \"locked\": %d, "
                "\"second_hand_hidden\": %d},\n",
                leftAlone, locked, hiddenHand);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--reference") {
        win::GdiplusSession gdiplus;
        return runReference(argc > 2 ? std::atoi(argv[2]) : 0);
    }
    const int framesPerCase = argc > 1 ? std::atoi(argv[1]) : defaultFramesPerCase;
    const int growthRounds = argc > 2 ? std::atoi(argv[2]) : defaultGrowthRounds;
    win::GdiplusSession gdiplus;
    testing_support::FixedTime fixed(14, 27, 0);
    core::LocalTime& now = fixed.time();
    testing_support::ClockUnderTest underTest;
    const HWND clock = underTest.start(fiftyAlarms())->hwnd();
    const HWND window = benchWindow(GetModuleHandleW(nullptr));

    // First, while the clock's own presentation is the only one the bench's window has seen.
    std::printf("{\n");
    printPresentsPerMinute(window, now);
    std::printf("  \"frames_per_case\": %d,\n  \"frames\": [\n    ", framesPerCase);
    bool first = true;
    for (const int dpi : dpis)
        for (int look = 0; look < core::StyleCount; ++look)
            for (const float zoom : zooms) {
                measureFrames(window, look, zoom, dpi, framesPerCase, first);
                first = false;
            }
    std::printf("\n  ],\n");

    // Each round is a new second and the real clock window's wake in it, as the running clock
    // has, and then what the window system sent meanwhile is handled, as the clock's message
    // loop does: events left unread pile up in Wine's display driver and would pass for a leak.
    // The clock's own timer messages are dropped, so the wakes are only those counted here. The
    // first rounds settle the heaps and caches; what counts is that everything stays level after.
    int second = 0;
    auto runRounds = [&](int rounds) {
        for (int i = 0; i < rounds; ++i, ++second) {
            now.hour = (second / 3600) % 24;
            now.minute = (second / 60) % 60;
            now.second = second % 60;
            now.milliseconds = static_cast<int>(core::TickOffsetMs);
            SendMessageW(clock, WM_TIMER, core::WakeTimer, 0);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                if (message.message != WM_TIMER)
                    DispatchMessageW(&message);
        }
    };
    const double tickStart = nowMs();
    runRounds(settleRounds);
    const double roundMs = (nowMs() - tickStart) / settleRounds;
    const Memory before = memory();
    // The working set moves up and down as the system trims it: its trend over the whole run
    // (least squares over checkpoints) is the growth, not the difference of two readings.
    constexpr int checkpoints = 20;
    double sumX = 0, sumY = 0, sumXY = 0, sumXX = 0;
    for (int point = 1; point <= checkpoints; ++point) {
        runRounds(growthRounds / checkpoints);
        const double x = point * static_cast<double>(growthRounds / checkpoints);
        const double y = memory().workingSetKb;
        sumX += x;
        sumY += y;
        sumXY += x * y;
        sumXX += x * x;
    }
    const Memory after = memory();
    const double perRoundKb =
        (checkpoints * sumXY - sumX * sumY) / (checkpoints * sumXX - sumX * sumX);
    std::printf("  \"growth\": {\"rounds\": %d, \"round_ms\": %.3f, "
                "\"working_set_kb\": %.0f, \"private_kb\": %.0f, \"heap_kb\": %.1f, "
                "\"gdi_objects\": %ld, \"user_objects\": %ld, \"handles\": %ld, "
                "\"working_set_mb_per_day\": %.3f}\n}\n",
                growthRounds, roundMs, after.workingSetKb - before.workingSetKb,
                after.privateKb - before.privateKb, after.heapKb - before.heapKb,
                static_cast<long>(after.gdiObjects) - static_cast<long>(before.gdiObjects),
                static_cast<long>(after.userObjects) - static_cast<long>(before.userObjects),
                static_cast<long>(after.handles) - static_cast<long>(before.handles),
                perRoundKb * secondsPerDay / 1024.0);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
