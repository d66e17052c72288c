#include "app/settings_file_lock.h"

#include <cstdio>
#include <cwchar>

namespace app {

namespace {

constexpr std::uint64_t FnvOffset = 14695981039346656037ull, FnvPrime = 1099511628211ull;
constexpr int KeyShift = 32;

// GetFullPathNameW and GetLongPathNameW alike: a first try in a buffer of MAX_PATH, a second in
// one of the size asked for; empty when the call fails.
template <typename Call> std::wstring pathBy(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    DWORD length = call(&text[0], static_cast<DWORD>(text.size()));
    if (length >= text.size()) {
        text.resize(length);
        length = call(&text[0], length);
    }
    text.resize(length < text.size() ? length : 0);
    return text;
}

std::wstring upperCase(std::wstring text) {
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The long, absolute, upper-case form: Windows paths compare without regard to case.
std::wstring canonicalPath(const std::wstring& full) {
    // Only an existing file has a long form; a new one keeps the full path as it is.
    const std::wstring longer = pathBy(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(full.c_str(), buffer, size); });
    return upperCase(longer.empty() ? full : longer);
}

// The folder as the file system knows it, whatever path led there: a mapped drive and its UNC
// name, a subst drive, a junction and a short name all reach one volume and file index. The
// folder's, not the file's: every save puts a new file in the old one's place. Empty where the
// volume gives no identity.
std::wstring folderIdentity(const std::wstring& full) {
    const size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    // Folders open only with backup semantics; attributes alone are enough to ask.
    const win::UniqueFile folder(
        CreateFileW(full.substr(0, slash + 1).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!folder || !GetFileInformationByHandle(folder.get(), &information) ||
        (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0))
        return {};
    wchar_t identity[32];
    std::swprintf(identity, sizeof(identity) / sizeof(identity[0]), L"%08lx:%08lx%08lx\\",
                  static_cast<unsigned long>(information.dwVolumeSerialNumber),
                  static_cast<unsigned long>(information.nFileIndexHigh),
                  static_cast<unsigned long>(information.nFileIndexLow));
    const std::wstring name = canonicalPath(full);
    return identity + name.substr(name.find_last_of(L"\\/") + 1);
}

std::uint64_t pathHash(const std::wstring& path) {
    std::wstring full = pathBy([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    if (full.empty())
        full = path;
    std::wstring key = folderIdentity(full);
    if (key.empty())
        key = canonicalPath(full);
    std::uint64_t hash = FnvOffset;
    for (const wchar_t unit : key) {
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

std::wstring settingsLockName(const std::wstring& settingsPath) {
    return mutexName(pathHash(settingsPath));
}

UINT anotherStartMessage() {
    static const UINT id = RegisterWindowMessageW(L"Veltrano.AnotherStart");
    return id;
}

SettingsFileLock::SettingsFileLock(const std::wstring& settingsPath) {
    const std::uint64_t hash = pathHash(settingsPath);
    key_ = foldedKey(hash);
    mutex_.reset(CreateMutexW(nullptr, FALSE, mutexName(hash).c_str()));
    const DWORD error = GetLastError();
    // Refused access means a clock of other rights (one run as administrator) made the lock and
    // holds the file. Without a lock for any other reason the clock still runs, as it always did.
    acquired_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

void SettingsFileLock::alertHolder() const {
    PostMessageW(HWND_BROADCAST, anotherStartMessage(), 0, static_cast<LPARAM>(key_));
}

} // namespace app
