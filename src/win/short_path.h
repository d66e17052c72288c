#pragma once
// The short (8.3) form of an existing file's path.
#include <string>

namespace win {

// Empty when the file is not there or its volume keeps no short names.
std::wstring shortPath(const std::wstring& path);

} // namespace win
