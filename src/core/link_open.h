#pragma once
// The rules of opening a hyperlink that need no window: the command line of the browser
// fallback and the texts of a failure.
#include <string>

namespace core {

// The ".htm" open command of the shell turned into a command line that opens `target`: the
// command is cut where its placeholder "%1" starts (at the opening quotation mark when the
// placeholder is quoted); a blank and the target in quotation marks follow.
std::wstring browserCommandLine(const std::wstring& shellCommand, const std::wstring& target);

// A failed start as the link reports it, in the numbering of ShellExecute's results: below 32
// a system error code means the same there; any other reads as a bad program file (11), as
// WinExec reports it.
int launchFailureCode(unsigned long systemError);

// "Unable to open hyperlink:" and the message for a ShellExecute or WinExec result code.
std::wstring openFailureText(int code);

} // namespace core
