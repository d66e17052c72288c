#pragma once
// One clock per "Settings.def": two clocks on one file would each overwrite the other's changes
// with their own, so a second start on the same file leaves the field to the first.
#include <windows.h>

#include "win/handles.h"

#include <cstdint>
#include <string>

namespace app {

// The same number for every path to one file (case, short names, relative parts, other drives or
// shares that lead to its folder), before and after a save replaces the file.
std::uint32_t settingsFileKey(const std::wstring& settingsPath);
// The name of the lock a clock on that file holds.
std::wstring settingsLockName(const std::wstring& settingsPath);

// Posted to every top-level window by a start that found the file taken; its LPARAM is the
// file's key, so only the clock holding that file answers.
UINT anotherStartMessage();

class SettingsFileLock {
public:
    explicit SettingsFileLock(const std::wstring& settingsPath);

    // False when another clock already holds the file.
    bool acquired() const { return acquired_; }
    // Asks the clock that holds the file to show itself.
    void alertHolder() const;

private:
    win::UniqueKernelHandle mutex_;
    std::uint32_t key_ = 0;
    bool acquired_ = false;
};

} // namespace app
