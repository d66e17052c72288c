#include "app/settings_file_lock.h"

#include <cwchar>

namespace app {

namespace {

constexpr std::uint64_t FnvOffset = 14695981039346656037ull, FnvPrime = 1099511628211ull;
constexpr int KeyShift = 32;

// The long, absolute, upper-case form: Windows paths compare without regard to case.
std::wstring canonicalPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty())
        full = path;
    // Only an existing file has a long form; a new one keeps the full path as it is.
    std::wstring longer(MAX_PATH, L'\0');
    length = GetLongPathNameW(full.c_str(), &longer[0], static_cast<DWORD>(longer.size()));
    if (length >= longer.size()) {
        longer.resize(length);
        length = GetLongPathNameW(full.c_str(), &longer[0], length);
    }
    if (length > 0 && length < longer.size()) {
        longer.resize(length);
        full = longer;
    }
    if (!full.empty())
        CharUpperBuffW(&full[0], static_cast<DWORD>(full.size()));
    return full;
}

std::uint64_t pathHash(const std::wstring& path) {
    std::uint64_t hash = FnvOffset;
    for (const wchar_t unit : canonicalPath(path)) {
        hash ^= static_cast<std::uint16_t>(unit);
        hash *= FnvPrime;
    }
    return hash;
}

std::wstring mutexName(std::uint64_t hash) {
    wchar_t name[64];
    std::swprintf(name, sizeof(name) / sizeof(name[0]), L"Local\\Veltrano.Settings.%08lx%08lx",
                  static_cast<unsigned long>(hash >> KeyShift),
                  static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    return name;
}

std::uint32_t foldedKey(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash ^ (hash >> KeyShift));
}

} // namespace

std::uint32_t settingsFileKey(const std::wstring& settingsPath) {
    return foldedKey(pathHash(settingsPath));
}

UINT anotherStartMessage() {
    static const UINT id = RegisterWindowMessageW(L"Veltrano.AnotherStart");
    return id;
}

SettingsFileLock::SettingsFileLock(const std::wstring& settingsPath) {
    const std::uint64_t hash = pathHash(settingsPath);
    key_ = foldedKey(hash);
    mutex_.reset(CreateMutexW(nullptr, FALSE, mutexName(hash).c_str()));
    // Without a lock (no such object could be made) the clock still runs, as it always did.
    acquired_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

void SettingsFileLock::alertHolder() const {
    PostMessageW(HWND_BROADCAST, anotherStartMessage(), 0, static_cast<LPARAM>(key_));
}

} // namespace app
