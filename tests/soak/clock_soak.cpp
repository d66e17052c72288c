// Days in the clock's life, second by second: the real clock window on a simulated wall clock,
// woken once a simulated second, with fifty alarms and a daily automatic shutdown whose
// countdown is cancelled. Exactly one countdown opens a day; the settings file and the counts of
// GDI objects, USER objects and kernel handles must not move. What each second shows on the
// tray is checked against the same plan natively (tests/unit/clock_soak_test.cpp), where the
// balloons can be read back.
//
// Options after GoogleTest's own: --days=N (default 1) and --second-hand-days=N (default 0): the
// first N days show the second hand, so a new frame is presented every second instead of every
// minute.
#include "core/clock_timers.h"
#include "dialogs/system_shutdown.h"
#include "sound/sounds.h"
#include "win/handles.h"
#include "win/strings.h"
#include "resource.h"
#include "run_all_tests.h"
#include "soak_plan.h"
#include "win32_test_support.h"

#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

struct SoakOptions {
    int days = 1;
    int secondHandDays = 0;
};

SoakOptions& options() {
    static SoakOptions instance;
    return instance;
}

constexpr int SecondsPerDay = core::SecondsPerDay;
const wchar_t* const CountdownCaption = L"自动关机提示";
const wchar_t* const OptionsCaption = L"设置";

// --- The simulated wall clock ---------------------------------------------------------------

// Seconds from midnight of the first day, shown to the clock through the local-time seam, the
// date included; each just after its full second, where the clock aims its wakes.
class SimulatedClock {
public:
    SimulatedClock() : fixed_(0, 0, 0) { moveTo(0); }
    void advance() { moveTo(at_ + 1); }
    long long at() const { return at_; }
    int day() const { return static_cast<int>(at_ / SecondsPerDay); }
    int secondOfDay() const { return static_cast<int>(at_ % SecondsPerDay); }

private:
    void moveTo(long long at) {
        at_ = at;
        core::LocalTime& time = fixed_.time();
        if (day() != dateDay_)
            setDate(time);
        const int second = secondOfDay();
        time.hour = second / 3600;
        time.minute = second / 60 % 60;
        time.second = second % 60;
        time.milliseconds = static_cast<int>(core::TickOffsetMs);
    }
    void setDate(core::LocalTime& time) {
        constexpr ULONGLONG ticksPerDay = 864000000000ULL; // 100 ns units
        SYSTEMTIME first{2026, 12, 1, 7, 0, 0, 0, 0};
        FILETIME file{};
        SystemTimeToFileTime(&first, &file);
        ULARGE_INTEGER at{};
        at.LowPart = file.dwLowDateTime;
        at.HighPart = file.dwHighDateTime;
        at.QuadPart += ticksPerDay * static_cast<ULONGLONG>(day());
        file = {at.LowPart, at.HighPart};
        SYSTEMTIME date{};
        FileTimeToSystemTime(&file, &date);
        time.year = date.wYear;
        time.month = date.wMonth;
        time.day = date.wDay;
        time.dayOfWeek = date.wDayOfWeek;
        dateDay_ = day();
    }

    FixedTime fixed_;
    long long at_ = 0;
    int dateDay_ = -1;
};

// --- What must stay put ---------------------------------------------------------------------

// Wine answers GetProcessHandleCount with 0; the system's list of handles names each one's
// process.
DWORD kernelHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return count;
    struct HandleEntry {
        ULONG ownerProcessId;
        BYTE objectType, flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    struct HandleList {
        ULONG count;
        HandleEntry entries[1];
    };
    using QuerySystem = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    constexpr ULONG systemHandleInformation = 16;
    constexpr LONG infoLengthMismatch = static_cast<LONG>(0xC0000004);
    const auto query = reinterpret_cast<QuerySystem>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    if (!query)
        return 0;
    std::vector<HandleEntry> buffer(4096);
    ULONG needed = 0;
    LONG status;
    while ((status = query(systemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size() * sizeof(HandleEntry)), &needed)) ==
           infoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    for (ULONG i = 0; i < list->count; ++i)
        if (list->entries[i].ownerProcessId == GetCurrentProcessId())
            ++count;
    return count;
}

struct ObjectCounts {
    DWORD gdi = 0, user = 0, kernel = 0;
    SIZE_T workingSet = 0;
};

bool sameObjects(const ObjectCounts& a, const ObjectCounts& b) {
    return a.gdi == b.gdi && a.user == b.user && a.kernel == b.kernel;
}

ObjectCounts countObjectsOnce() {
    ObjectCounts counts;
    counts.gdi = gdiObjects();
    counts.user = userObjects();
    counts.kernel = kernelHandles();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    counts.workingSet = memory.WorkingSetSize;
    return counts;
}

ObjectCounts countObjects() {
    // A built-in sound started a moment ago holds handles of its player thread: let it end.
    sound::stopBuiltInSounds();
    // Wine's own threads in this process open and close a handle now and then, and finish late
    // while this thread keeps the processor busy: the count is taken once two readings a short
    // pause apart agree.
    constexpr DWORD pauseMs = 20;
    constexpr int maxReadings = 50;
    ObjectCounts last = countObjectsOnce();
    for (int reading = 1; reading < maxReadings; ++reading) {
        Sleep(pauseMs);
        const ObjectCounts next = countObjectsOnce();
        if (sameObjects(next, last))
            return next;
        last = next;
    }
    return last;
}

struct FileState {
    std::vector<unsigned char> bytes;
    FILETIME lastWrite{};
};

FileState fileState(const std::wstring& path) {
    FileState state{readFile(path), {}};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        state.lastWrite = data.ftLastWriteTime;
    return state;
}

// Each count must see a leak: one object more is one more.
void expectCountsSeeOneMore() {
    const ObjectCounts before = countObjects();
    win::UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    win::UniqueWindow window(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    win::UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const ObjectCounts with = countObjects();
    EXPECT_EQ(with.gdi, before.gdi + 1);
    EXPECT_EQ(with.user, before.user + 1);
    EXPECT_EQ(with.kernel, before.kernel + 1);
}

bool operator==(const FileState& a, const FileState& b) {
    return a.bytes == b.bytes && CompareFileTime(&a.lastWrite, &b.lastWrite) == 0;
}

double megabytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The clock's own timer would add wakes of real time to the simulated ones, also inside the
// countdown's modal loop, where the soak cannot keep them out of the queue; and every wake arms
// it again, so killing it once would not do. Its messages are dropped on arrival and counted;
// only the one the soak sends right after opening the gate goes through.
struct WakeGate {
    bool open = false;
    long long dropped = 0;
};

LRESULT CALLBACK gateWakes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    if (message == WM_TIMER && wParam == core::WakeTimer) {
        WakeGate& gate = *reinterpret_cast<WakeGate*>(data);
        if (!gate.open) {
            ++gate.dropped;
            return 0;
        }
        gate.open = false;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// Whatever else reaches the thread is handled as the real message loop would.
void handleWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// --- The soak -------------------------------------------------------------------------------

class ClockSoak : public ::testing::Test, public ClockUnderTest {
protected:
    void SetUp() override {
        dialogs::setShutdownRequest([this](UINT, DWORD) {
            ++shutdownRequests_;
            return FALSE;
        });
        core::ClockSettings settings;
        settings.showSecondHand = options().secondHandDays > 0 ? 1 : 0;
        settings.shutdown = {1, 1, soak_plan::ShutdownTime};
        std::vector<core::AlarmEntry> rows;
        for (const soak_plan::PlannedAlarm& alarm : soak_plan::plannedAlarms())
            rows.push_back({alarm.enabled, alarm.time, win::wideToAnsi(alarm.reminder)});
        settings.alarms.assign(rows, win::isAnsiLeadByte);
        ASSERT_TRUE(start(settings));
        window_ = clock->hwnd();
        // The start saves what it read: the file holds the whole plan.
        ASSERT_EQ(saved().alarms.count(), core::AlarmMaxCount);
        ASSERT_TRUE(trayIconPresent(window_));
        SetWindowSubclass(window_, gateWakes, 0, reinterpret_cast<DWORD_PTR>(&gate_));
        fileAfterStart_ = fileState(settingsPath());
        expectCountsSeeOneMore();
    }

    void TearDown() override {
        if (window_ && IsWindow(window_))
            RemoveWindowSubclass(window_, gateWakes, 0);
        clock.reset();
        dialogs::setShutdownRequest(nullptr);
    }

    // One wake of the clock at the simulated time (which may run the countdown, with wakes of
    // its own inside it).
    void wake() {
        gate_.open = true;
        SendMessageW(window_, WM_TIMER, core::WakeTimer, 0);
        gate_.open = false;
        ++wakes_;
    }

    // Runs inside the countdown's modal loop: the clock is woken on, then the user cancels.
    void answerCountdown(HWND countdown) {
        ++countdowns_;
        EXPECT_EQ(core::timeOfDayText(time_.secondOfDay()), soak_plan::ShutdownTime);
        wake(); // again in the shutdown's own second
        for (int i = 0; i < soak_plan::CountdownSeconds; ++i) {
            time_.advance();
            wake();
        }
        EXPECT_EQ(dialogsCaptioned(CountdownCaption).size(), 1u) << "a second countdown opened";
        SendMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
    }

    void run() {
        for (int day = 0; day < options().days; ++day) {
            dayStart_ = Clock::now();
            {
                // A day at a time: the options dialog between two days takes the thread's one
                // watch for itself.
                DialogWatch countdownWatch(CountdownCaption,
                                           [this](HWND countdown) { answerCountdown(countdown); });
                const long long end = (day + 1LL) * SecondsPerDay;
                while (time_.at() < end) {
                    if (time_.at() % 60 == 0)
                        handleWaitingMessages();
                    wake();
                    time_.advance();
                    if (time_.at() == SecondsPerDay / 2)
                        noonOfDayOne_ = countObjects();
                }
            }
            endDay(day + 1);
        }
    }

    void endDay(int daysDone) {
        const double seconds = secondsSince(dayStart_);
        const bool secondHand = daysDone <= options().secondHandDays;
        (secondHand ? secondHandSeconds_ : hiddenHandSeconds_) += seconds;
        EXPECT_EQ(countdowns_, daysDone) << "one countdown a day";
        EXPECT_TRUE(dialogsCaptioned(CountdownCaption).empty()) << "a countdown is left open";
        EXPECT_TRUE(fileState(settingsPath()) == fileAfterStart_)
            << "Settings.def was written on day " << daysDone;
        const bool hidesHand = daysDone == options().secondHandDays && daysDone < options().days;
        if (hidesHand)
            hideSecondHand();
        const ObjectCounts counts = countObjects();
        // After day 1, and after the options dialog has been open once, everything the clock and
        // the system's caches keep has been made.
        if (daysDone == 1 || hidesHand)
            baseline_ = counts;
        end_ = counts;
        std::printf("day %d%s: %.1f s, GDI %lu, USER %lu, kernel handles %lu, working set %.1f "
                    "MB\n",
                    daysDone, secondHand ? " (second hand shown)" : "", seconds, counts.gdi,
                    counts.user, counts.kernel, megabytes(counts.workingSet));
        std::fflush(stdout);
    }

    // Through the options dialog, as the user would: one change, so the file is written once.
    void hideSecondHand() {
        // The dialog's OK also sets whether the clock starts with the system.
        RegistrySandbox registry(HKEY_CURRENT_USER);
        const bool answered = inDialog(
            OptionsCaption, [this] { command(ID_OPTIONS); },
            [](HWND dialog) {
                CheckDlgButton(dialog, IDC_SHOW_SECOND_HAND, BST_UNCHECKED);
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            });
        ASSERT_TRUE(answered);
        const FileState after = fileState(settingsPath());
        EXPECT_FALSE(after == fileAfterStart_) << "a change was not saved";
        EXPECT_EQ(saved().showSecondHand, 0);
        fileAfterStart_ = after;
    }

    SimulatedClock time_;
    HWND window_ = nullptr;
    WakeGate gate_;
    FileState fileAfterStart_;
    long long wakes_ = 0;
    int countdowns_ = 0, shutdownRequests_ = 0;
    ObjectCounts noonOfDayOne_, baseline_, end_;
    Clock::time_point dayStart_;
    double secondHandSeconds_ = 0, hiddenHandSeconds_ = 0;
};

TEST_F(ClockSoak, OneCountdownADayAndNothingElseMoves) {
    const Clock::time_point start = Clock::now();
    run();
    const int days = options().days;
    // Every second once, and the shutdown's second once more inside its countdown.
    EXPECT_EQ(wakes_, days * (SecondsPerDay + 1LL));
    EXPECT_EQ(countdowns_, days);
    EXPECT_EQ(shutdownRequests_, 0);
    // A one-day run compares with noon.
    const ObjectCounts& baseline = days > 1 ? baseline_ : noonOfDayOne_;
    EXPECT_EQ(end_.gdi, baseline.gdi);
    EXPECT_EQ(end_.user, baseline.user);
    EXPECT_EQ(end_.kernel, baseline.kernel);

    std::printf("soak: %d simulated day(s), %d with the second hand; %lld wakes; %d countdowns "
                "cancelled, %d shutdown requests; %d alarms in the table\n",
                days, std::min(options().secondHandDays, days), wakes_, countdowns_,
                shutdownRequests_, core::AlarmMaxCount);
    std::printf("objects %s -> end: GDI %lu -> %lu, USER %lu -> %lu, kernel handles %lu -> %lu; "
                "working set %.1f -> %.1f MB\n",
                days > 1 ? "after day 1" : "at noon", baseline.gdi, end_.gdi, baseline.user,
                end_.user, baseline.kernel, end_.kernel, megabytes(baseline.workingSet),
                megabytes(end_.workingSet));
    std::printf("Settings.def untouched after start-up%s; the clock's own wakes dropped: %lld\n",
                options().secondHandDays > 0 && options().secondHandDays < days
                    ? " but for the one save when the second hand was hidden"
                    : "",
                gate_.dropped);
    std::printf("elapsed: %.1f s (%.1f s for the days with the second hand, %.1f s without)\n",
                secondsSince(start), secondHandSeconds_, hiddenHandSeconds_);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--days=", 0) == 0)
            options().days = std::max(1, std::atoi(argument.c_str() + 7));
        else if (argument.rfind("--second-hand-days=", 0) == 0)
            options().secondHandDays = std::max(0, std::atoi(argument.c_str() + 19));
    }
    return runAllTestsAndEnd();
}
