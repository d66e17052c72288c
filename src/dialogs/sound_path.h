#pragma once
// Which path of a chosen sound file "Settings.def" can keep.
#include <optional>
#include <string>

namespace dialogs {

// The path in the ANSI code page when it holds every character and fits the 255 bytes of its
// field; otherwise the file's short path if that does; nothing when neither does (or the file
// has no short path), so the caller can refuse the file rather than store a broken path.
std::optional<std::string> storableSoundPath(const std::wstring& path);

} // namespace dialogs
