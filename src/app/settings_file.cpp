#include "app/settings_file.h"

#include "core/holidays_file.h"
#include "win/handles.h"
#include "win/program_path.h"
#include "win/strings.h"

#include <windows.h>

#include <vector>

namespace app {

const wchar_t* const SettingsFileName = L"Settings.def";

namespace {

// No list of holidays comes near it; a larger file is no such list.
constexpr std::size_t HolidaysFileMaxBytes = 1 << 20;

bool readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                   std::size_t maxBytes = core::SettingsFileSize) {
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // A file larger than the record only needs its first part; the rest is ignored.
    bytes.assign(maxBytes, 0);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
        return false;
    }
    bytes.resize(read);
    return true;
}

enum class WriteResult { Written, NotCreated, Failed };

WriteResult writeNewFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return WriteResult::NotCreated;
    DWORD written = 0;
    const bool ok =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file.get());
    return ok ? WriteResult::Written : WriteResult::Failed;
}

// The way left when the folder takes no new file but the file itself may be written.
bool rewriteInPlace(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

} // namespace

std::wstring currentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring directory(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, &directory[0]);
    directory.resize(length < needed ? length : 0);
    return directory;
}

std::wstring programDirectory() {
    const std::wstring path = win::programPath();
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring joinPath(const std::wstring& directory, const std::wstring& name) {
    if (directory.empty())
        return name;
    const wchar_t last = directory.back();
    return (last == L'\\' || last == L'/') ? directory + name : directory + L"\\" + name;
}

SettingsFile::SettingsFile(std::wstring startDirectory)
    : startDirectory_(std::move(startDirectory)) {}

std::wstring SettingsFile::path() const {
    return loadedPath_.empty() ? joinPath(startDirectory_, SettingsFileName) : loadedPath_;
}

std::vector<std::wstring> SettingsFile::candidates() const {
    // The program's own directory comes first, as the system's own file search would have it.
    return {joinPath(programDirectory(), SettingsFileName),
            joinPath(startDirectory_, SettingsFileName)};
}

std::wstring SettingsFile::locate() const {
    for (const std::wstring& candidate : candidates()) {
        if (fileExists(candidate))
            return candidate;
    }
    return joinPath(startDirectory_, SettingsFileName);
}

bool SettingsFile::load(std::vector<std::uint8_t>& bytes) {
    for (const std::wstring& candidate : candidates()) {
        if (!fileExists(candidate))
            continue;
        if (!readWholeFile(candidate, bytes))
            continue;
        loadedPath_ = candidate;
        return true;
    }
    return false;
}

std::wstring SettingsFile::holidaysLocation() const {
    const std::wstring settings = path();
    const std::size_t slash = settings.find_last_of(L"\\/");
    return joinPath(slash == std::wstring::npos ? startDirectory_ : settings.substr(0, slash),
                    core::HolidaysFileName);
}

bool SettingsFile::loadHolidays(std::vector<std::uint8_t>& bytes) {
    const std::wstring holidays = holidaysLocation();
    return fileExists(holidays) && readWholeFile(holidays, bytes, HolidaysFileMaxBytes);
}

bool SettingsFile::save(const std::vector<std::uint8_t>& bytes) {
    const std::wstring target = path();
    // The user's choice to keep the file as it is: Windows refuses to replace a read-only file,
    // but Wine would replace it and drop the mark.
    if (isReadOnly(target))
        return false;
    // Write beside the target, then swap it in: the old file survives any failure before the move.
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    switch (writeNewFile(temporary, bytes)) {
    case WriteResult::NotCreated:
        // A folder that is not writable holding a file that is: no atomic way exists.
        return fileExists(target) && rewriteInPlace(target, bytes);
    case WriteResult::Failed: DeleteFileW(temporary.c_str()); return false;
    case WriteResult::Written: break;
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace app
