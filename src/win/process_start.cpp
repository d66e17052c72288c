#include "win/process_start.h"

#include "win/handles.h"

#include <shellapi.h>

#include <vector>

namespace win {

INT_PTR shellOpen(const std::wstring& target, int showCommand) {
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, showCommand));
}

namespace {

// `application` null: CreateProcessW takes the program from the command line and searches for it.
DWORD start(const wchar_t* application, const std::wstring& commandLine, int showCommand) {
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return GetLastError();
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    return ERROR_SUCCESS;
}

} // namespace

DWORD startProcess(const std::wstring& commandLine, int showCommand) {
    return start(nullptr, commandLine, showCommand);
}

DWORD startSystemProgram(const wchar_t* program, const std::wstring& arguments, int showCommand) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW;
    const std::wstring path = std::wstring(folder, length) + L"\\" + program;
    // The program's own name comes first in its command line, quoted for a folder with blanks.
    return start(path.c_str(), L"\"" + path + L"\" " + arguments, showCommand);
}

} // namespace win
