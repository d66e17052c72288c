#include "win/open_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>

namespace win {

namespace {

// The longest path Windows has, terminator included.
constexpr DWORD FileNameCapacity = 32768;

} // namespace

std::optional<std::wstring> askForFileToOpen(HWND owner, const std::wstring& filter, DWORD flags) {
    std::wstring filterList = filter;
    std::replace(filterList.begin(), filterList.end(), L'|', L'\0');
    std::wstring file(FileNameCapacity, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = filterList.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = &file[0];
    request.nMaxFile = FileNameCapacity;
    request.Flags = flags;
    if (!GetOpenFileNameW(&request))
        return std::nullopt;
    file.resize(std::wcslen(file.c_str()));
    return file;
}

} // namespace win
