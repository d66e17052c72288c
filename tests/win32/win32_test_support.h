#pragma once
// Shared pieces of the Win32 tests: a scratch working directory, a fixed clock, message pumping.
#include <windows.h>

#include "core/clock_time.h"

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

// A visible dialog of this thread with the given caption, or null.
HWND findDialog(const std::wstring& caption);

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

// Top-level windows of this thread with the given class name ("#32770" for dialogs).
std::vector<HWND> threadWindows(const wchar_t* className);

} // namespace testing_support
