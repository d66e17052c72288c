#pragma once
// The system's "open" file dialog.
#include <windows.h>

#include <optional>
#include <string>

namespace win {

// The file the user picked, or nothing when the dialog was cancelled. `filter` lists pairs of a
// description and a pattern, each ended by '|' ("PNG(*.png)|*.png|"); `flags` are OFN_* flags.
// Any path the dialog can return fits.
std::optional<std::wstring> askForFileToOpen(HWND owner, const std::wstring& filter, DWORD flags);

} // namespace win
