#pragma once
#include <string>

namespace win {

// The full path of the running executable, of any length.
std::wstring programPath();

} // namespace win
