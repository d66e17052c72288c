#pragma once
// Starting other programs: a document or link through the handler the shell has for it, or a
// command line of its own.
#include <windows.h>

#include <string>

namespace win {

// ShellExecute's "open" of `target`; its result, above 32 when something was started.
INT_PTR shellOpen(const std::wstring& target, int showCommand);
// Starts `commandLine` with its first window shown as `showCommand`, without waiting for it;
// ERROR_SUCCESS or the reason it did not start.
DWORD startProcess(const std::wstring& commandLine, int showCommand);
// Starts `program` (a name like L"rundll32.exe") from the system folder by its full path, never
// a file of that name beside the program or in the working folder; as startProcess.
DWORD startSystemProgram(const wchar_t* program, const std::wstring& arguments, int showCommand);

} // namespace win
