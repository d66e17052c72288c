#pragma once
// Shared pieces of the Win32 tests: a scratch working directory, a fixed clock, message pumping,
// a clock window on a settings file of its own, dialogs answered from inside their modal loops
// and captured message boxes.
#include <windows.h>

#include "app/clock_window.h"
#include "core/clock_time.h"
#include "core/settings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// Creates a fresh directory, makes it the working directory, and removes it afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring previous_;
    std::wstring path_;
};

// Replaces local time for the clock while it lives.
class FixedTime {
public:
    explicit FixedTime(int hour, int minute, int second);
    ~FixedTime();
    void set(int hour, int minute, int second);
    core::LocalTime& time() { return *time_; }

private:
    std::shared_ptr<core::LocalTime> time_;
};

// Dispatches messages until `done` holds or the time is up; returns `done()`.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void pumpFor(DWORD ms);

std::vector<unsigned char> readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool fileExists(const std::wstring& path);
// A PCM WAVE file of silence, 8000 samples a second, that the media player can play.
void writeSilentWave(const std::wstring& path, unsigned seconds);

// Runs `action` from a thread timer, which also fires inside nested modal loops, every 50 ms
// until it says it is done.
class LaterOnThisThread {
public:
    explicit LaterOnThisThread(std::function<bool()> action);
    ~LaterOnThisThread();
    LaterOnThisThread(const LaterOnThisThread&) = delete;
    LaterOnThisThread& operator=(const LaterOnThisThread&) = delete;

private:
    static std::function<bool()>& current();
    static void CALLBACK fire(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

// The visible dialogs of this thread with the given caption; the first of them, or null.
std::vector<HWND> dialogsCaptioned(const std::wstring& caption);
HWND findDialog(const std::wstring& caption);

// Runs `open` (a command, a tick) and, inside the modal loop it starts, `act` on the dialog with
// the given caption once it shows; returns whether it did.
bool inDialog(const std::wstring& caption, const std::function<void()>& open,
              const std::function<void(HWND)>& act);

// While it lives, runs `act` on the dialog with the given caption at every look (every 50 ms)
// that finds one showing, also inside modal loops.
class DialogWatch {
public:
    DialogWatch(const std::wstring& caption, std::function<void(HWND)> act);

private:
    LaterOnThisThread watch_;
};

// The program's message boxes while it lives: each is answered with OK and its text kept.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;
    std::vector<std::wstring> texts;
};

// A clock window started in a scratch directory on a "Settings.def" the test wrote (or none).
class ClockUnderTest {
public:
    void writeSettings(const core::ClockSettings& settings);
    // Starts the clock on the file written so far; null when its window did not open.
    app::ClockWindow* start();
    app::ClockWindow* start(const core::ClockSettings& settings);
    void command(int id) const;
    // One wake of the clock's timer, now.
    void wake() const;
    RECT windowRect() const;
    LONG_PTR exStyle() const;
    std::vector<unsigned char> savedBytes() const;
    // What the file holds, read through the program's own codec.
    core::ClockSettings saved() const;
    std::wstring settingsPath() const { return scratch.file(L"Settings.def"); }

    ScratchDirectory scratch;
    std::unique_ptr<app::ClockWindow> clock;
};

// Gives a predefined registry key (HKEY_CURRENT_USER, HKEY_CLASSES_ROOT) of this process an
// empty key of its own while it lives, so tests neither see nor change the real one.
class RegistrySandbox {
public:
    // A volatile sandbox refuses lasting keys below it: a registry that fails on writing.
    explicit RegistrySandbox(HKEY predefined, bool volatileKeys = false);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

private:
    HKEY predefined_;
    HKEY root_ = nullptr;
    std::wstring name_;
};

// Writes a text value (the default one for an empty name), creating the key.
void setRegistryText(HKEY root, const std::wstring& key, const std::wstring& name,
                     const std::wstring& text);

DWORD gdiObjects();
DWORD userObjects();

// What keeps the dialog's controls `ids` from showing whole, one line per fault: a control
// outside the client area, over another control, or too small for its text (a combo box for its
// longest item, a static text for its lines); empty when there is none.
std::string layoutFaults(HWND dialog, const std::vector<int>& ids);

// Top-level windows of this thread with the given class name ("#32770" for dialogs).
std::vector<HWND> threadWindows(const wchar_t* className);

// A built-in sound is playing (the probe stops it, so the next look starts from silence).
bool builtInSoundPlaying();
// The shell still has the clock's icon of `owner`.
bool trayIconPresent(HWND owner);
// The clock's wakes that arrive within `ms`, each handled as it comes.
int wakesWithin(HWND clock, DWORD ms);

} // namespace testing_support
