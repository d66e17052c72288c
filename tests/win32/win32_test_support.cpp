#include "win32_test_support.h"

#include "core/clock_timers.h"
#include "resource.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "win/dpi.h"
#include "win/handles.h"
#include "win/local_time.h"
#include "win/message_box.h"
#include "win/strings.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <utility>

namespace testing_support {

namespace {

void removeTree(const std::wstring& directory) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = directory + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(directory.c_str());
}

std::wstring workingDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return buffer;
}

} // namespace

ScratchDirectory::ScratchDirectory() : previous_(workingDirectory()) {
    static std::atomic<int> serial{0};
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"veltrano-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++serial);
    CreateDirectoryW(path_.c_str(), nullptr);
    SetCurrentDirectoryW(path_.c_str());
}

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryW(previous_.c_str());
    removeTree(path_);
}

FixedTime::FixedTime(int hour, int minute, int second)
    : time_(std::make_shared<core::LocalTime>()) {
    time_->year = 2026;
    time_->month = 12;
    time_->day = 7;
    time_->dayOfWeek = 1;
    set(hour, minute, second);
    auto shared = time_;
    win::setLocalTimeSource([shared] { return *shared; });
}

FixedTime::~FixedTime() {
    win::setLocalTimeSource(nullptr);
}

void FixedTime::set(int hour, int minute, int second) {
    time_->hour = hour;
    time_->minute = minute;
    time_->second = second;
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return done();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

std::vector<unsigned char> readFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    ReadFile(file, bytes.data(), size, &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

void writeFile(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeSilentWave(const std::wstring& path, unsigned seconds) {
    const unsigned rate = 8000;
    const unsigned dataBytes = rate * 2 * seconds;
    std::vector<unsigned char> bytes(44 + dataBytes, 0);
    auto put32 = [&](size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    std::memcpy(&bytes[0], "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (1 << 16)); // PCM, mono
    put32(24, rate);
    put32(28, rate * 2);
    put32(32, 2 | (16 << 16)); // block align 2, 16 bits
    std::memcpy(&bytes[36], "data", 4);
    put32(40, dataBytes);
    writeFile(path, bytes);
}

namespace {

// Wine answers GetGuiResources with 0; its handle table takes an index with no generation,
// so probing every index counts the live GDI objects of the process.
DWORD probeGdiHandles() {
    DWORD count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

BOOL CALLBACK countWindow(HWND window, LPARAM data) {
    ++*reinterpret_cast<DWORD*>(data);
    EnumChildWindows(window, countWindow, data);
    return TRUE;
}

// Windows and their children of this thread: what a leaking player or dialog would leave.
DWORD countThreadWindows() {
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

DWORD gdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return reported ? reported : probeGdiHandles();
}

DWORD userObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    return reported ? reported : countThreadWindows();
}

namespace {
struct WindowSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};
BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == search->className && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> threadWindows(const wchar_t* className) {
    WindowSearch search{className, {}};
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LaterOnThisThread::LaterOnThisThread(std::function<bool()> action) {
    current() = std::move(action);
    timer_ = SetTimer(nullptr, 0, 50, &LaterOnThisThread::fire);
}

LaterOnThisThread::~LaterOnThisThread() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
}

std::function<bool()>& LaterOnThisThread::current() {
    static std::function<bool()> action;
    return action;
}

void CALLBACK LaterOnThisThread::fire(HWND, UINT, UINT_PTR, DWORD) {
    if (current() && current()())
        current() = nullptr;
}

std::vector<HWND> dialogsCaptioned(const std::wstring& caption) {
    std::vector<HWND> found;
    for (HWND dialog : threadWindows(L"#32770")) {
        wchar_t title[128] = {};
        GetWindowTextW(dialog, title, 128);
        if (caption == title)
            found.push_back(dialog);
    }
    return found;
}

HWND findDialog(const std::wstring& caption) {
    const std::vector<HWND> found = dialogsCaptioned(caption);
    return found.empty() ? nullptr : found.front();
}

bool inDialog(const std::wstring& caption, const std::function<void()>& open,
              const std::function<void(HWND)>& act) {
    bool acted = false;
    LaterOnThisThread inside([&] {
        const HWND dialog = findDialog(caption);
        if (dialog) {
            act(dialog);
            acted = true;
        }
        return acted;
    });
    open();
    return acted;
}

DialogWatch::DialogWatch(const std::wstring& caption, std::function<void(HWND)> act)
    : watch_([caption, act] {
          if (const HWND dialog = findDialog(caption))
              act(dialog);
          return false;
      }) {}

MessageBoxCapture::MessageBoxCapture() {
    win::setMessageBoxHook([this](HWND, const std::wstring& text) {
        texts.push_back(text);
        return IDOK;
    });
}

MessageBoxCapture::~MessageBoxCapture() {
    win::setMessageBoxHook(nullptr);
}

void ClockUnderTest::writeSettings(const core::ClockSettings& settings) {
    writeFile(settingsPath(), core::encodeSettings(settings, win::isAnsiLeadByte));
}

app::ClockWindow* ClockUnderTest::start() {
    clock = std::make_unique<app::ClockWindow>(GetModuleHandleW(nullptr));
    clock->createModeless(nullptr);
    return IsWindow(clock->hwnd()) ? clock.get() : nullptr;
}

app::ClockWindow* ClockUnderTest::start(const core::ClockSettings& settings) {
    writeSettings(settings);
    return start();
}

void ClockUnderTest::command(int id) const {
    SendMessageW(clock->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void ClockUnderTest::wake() const {
    SendMessageW(clock->hwnd(), WM_TIMER, core::WakeTimer, 0);
}

RECT ClockUnderTest::windowRect() const {
    RECT rect{};
    GetWindowRect(clock->hwnd(), &rect);
    return rect;
}

LONG_PTR ClockUnderTest::exStyle() const {
    return GetWindowLongPtrW(clock->hwnd(), GWL_EXSTYLE);
}

std::vector<unsigned char> ClockUnderTest::savedBytes() const {
    return readFile(settingsPath());
}

core::ClockSettings ClockUnderTest::saved() const {
    const std::vector<unsigned char> bytes = savedBytes();
    core::ClockSettings settings;
    core::decodeSettings(bytes.data(), bytes.size(), settings);
    return settings;
}

namespace {
void deleteRegistryTree(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        wchar_t child[256];
        DWORD length = 256;
        while (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS) {
            deleteRegistryTree(key, child);
            length = 256;
        }
        RegCloseKey(key);
    }
    RegDeleteKeyW(parent, name.c_str());
}
} // namespace

RegistrySandbox::RegistrySandbox(HKEY predefined, bool volatileKeys) : predefined_(predefined) {
    static int serial = 0;
    name_ = L"Software\\VeltranoTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr,
                    volatileKeys ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &root_, nullptr);
    RegOverridePredefKey(predefined_, root_);
}

RegistrySandbox::~RegistrySandbox() {
    RegOverridePredefKey(predefined_, nullptr);
    RegCloseKey(root_);
    deleteRegistryTree(HKEY_CURRENT_USER, name_);
}

void setRegistryText(HKEY root, const std::wstring& key, const std::wstring& name,
                     const std::wstring& text) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(created, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(created);
}

// A built-in sound still plays when a request that must not interrupt it is refused. The probe
// stops whatever it finds (or starts) so the next look starts from silence.
bool builtInSoundPlaying() {
    const bool refused = !PlaySoundW(MAKEINTRESOURCEW(IDR_WAVE_ALARM), GetModuleHandleW(nullptr),
                                     SND_RESOURCE | SND_ASYNC | SND_NOSTOP);
    PlaySoundW(nullptr, nullptr, 0);
    return refused;
}

// True while the shell still has an icon 128 of `owner`: changing it succeeds only then.
bool trayIconPresent(HWND owner) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
    probe.hWnd = owner;
    probe.uID = IDN_TRAY_ICON;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// The clock's wakes that arrive in a while (taken from the queue, not handled).
int wakesWithin(HWND clock, DWORD ms) {
    int wakes = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        // Handled, as the clock's loop would: each wake asks for the next one.
        while (PeekMessageW(&message, clock, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            wakes += message.wParam == core::WakeTimer ? 1 : 0;
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    return wakes;
}

namespace {

RECT rectInDialog(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The size `text` takes in the control's font; wrapped at `wrapWidth` when it is given.
SIZE textSize(HWND control, const std::wstring& text, int wrapWidth = 0) {
    const win::WindowDc dc(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const win::SelectGuard selected(dc.get(), font);
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right, r.bottom};
}

// Room the control's own parts take beside its text at 96 DPI, as the system draws them: a
// check box's box and the gap after it, a combo box's arrow and margins, a button's edges.
int partsWidth(HWND control, const std::wstring& className, int dpi) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (className == L"ComboBox")
        return win::scaleForDpi(23, dpi);
    if (className == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        return win::scaleForDpi(16, dpi);
    return className == L"Button" ? win::scaleForDpi(6, dpi) : 0;
}

std::wstring widestText(HWND control, const std::wstring& className) {
    if (className != L"ComboBox")
        return win::windowText(control);
    std::wstring widest;
    const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(text.size() - 1);
        if (textSize(control, text).cx > textSize(control, widest).cx)
            widest = text;
    }
    return widest;
}

} // namespace

std::string layoutFaults(HWND dialog, const std::vector<int>& ids) {
    std::string faults;
    RECT client{};
    GetClientRect(dialog, &client);
    const int dpi = win::windowDpi(dialog);
    for (const int id : ids) {
        const HWND control = GetDlgItem(dialog, id);
        const RECT r = rectInDialog(dialog, control);
        const std::string name = std::to_string(id);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            faults += name + " is outside the dialog\n";
        for (HWND other = GetWindow(dialog, GW_CHILD); other;
             other = GetWindow(other, GW_HWNDNEXT)) {
            RECT both{}, otherRect = rectInDialog(dialog, other);
            if (other != control && IsWindowVisible(other) && IntersectRect(&both, &r, &otherRect))
                faults += name + " lies over " + std::to_string(GetDlgCtrlID(other)) + "\n";
        }
        wchar_t className[32] = {};
        GetClassNameW(control, className, 32);
        const std::wstring text = widestText(control, className);
        const int width = r.right - r.left;
        const SIZE needed = std::wstring(className) == L"Static" ? textSize(control, text, width)
                                                                 : textSize(control, text);
        if (needed.cx + partsWidth(control, className, dpi) > width || needed.cy > r.bottom - r.top)
            faults += name + " is too small for " + win::wideToAnsi(text) + "\n";
    }
    return faults;
}

} // namespace testing_support
