#pragma once
// The one pair of conversions between the ANSI code page of "Settings.def" and the
// wide strings everything on screen uses.
#include <optional>
#include <string>

namespace win {

std::wstring ansiToWide(const std::string& text);
std::string wideToAnsi(const std::wstring& text);
// The ANSI form only when it holds every character (no "?" put in for one it lacks).
std::optional<std::string> wideToAnsiExactly(const std::wstring& text);
// Lead-byte test of the system's ANSI code page, for cutting stored texts on a character boundary.
bool isAnsiLeadByte(unsigned char byte);

} // namespace win
