#pragma once
// Which form of a chosen file's path "Settings.def" can keep: the custom look's images and the
// alarm sound are chosen alike.
#include "core/stored_path.h"

#include <optional>
#include <string>

namespace dialogs {

// The path in the ANSI code page when it holds every character and fits the 255 bytes of its
// field; otherwise the file's short path if that does; when neither does (or the file has no
// short path), what is wrong with the path, so the caller can refuse the file rather than store
// a broken path.
core::StoredPathChoice choosePathToStore(const std::wstring& path);

// The stored form of a chosen sound file, or nothing when it cannot be stored.
std::optional<std::string> storableSoundPath(const std::wstring& path);

} // namespace dialogs
